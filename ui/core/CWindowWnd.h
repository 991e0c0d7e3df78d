// A top-level window of the toolkit: creates its host window through the installed Host,
// receives the host's events and delivers window messages (ui/SystemConstants.h and the
// numbered messages of the program) to HandleMessage on the UI thread.
//
// Lifecycle: Create → (kWmCreate) → ... → DestroyWindow or Close → kWmDestroy →
// OnFinalMessage. OnFinalMessage runs once the window is gone and no event of it is
// being handled any more, so a popup may "delete this" there. A window destroyed from
// inside one of its own handlers is finished when that handler returns.
// Modal: ShowModal disables the owner, runs the host's modal loop until this window is
// destroyed (or a quit is posted), enables the owner again and returns the result given
// to Close.
//
// Threads: UI thread only, except SendMessage, which any thread may call: the message is
// handled on the UI thread and the caller waits (0 when the window is already gone).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/WindowHandle.h"
#include "ui/core/Host.h"

namespace ui {

class WindowTree;

class CWindowWnd : public HostWindowEvents {
 public:
  CWindowWnd();
  ~CWindowWnd() override;
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  // style and exStyle as CreateWindowExW takes them (kWs... of ui/SystemConstants.h);
  // kWsVisible shows the window. Null when the window could not be made; OnFinalMessage
  // has then run (and may have deleted the object).
  WindowHandle Create(WindowHandle owner, const std::wstring& title, uint32_t style, uint32_t exStyle,
                      const Rect& rect = {});
  WindowHandle GetHWND() const { return handle_; }
  HostWindow* GetHostWindow() const { return host_.get(); }
  bool IsWindow() const { return host_ != nullptr && !destroyed_; }
  WindowHandle GetOwner() const { return owner_; }

  void ShowWindow(bool show = true);
  int ShowModal();
  // Sends kWmClose (its default handling destroys the window); a modal run returns result.
  void Close(int result = 0);
  void DestroyWindow();
  void CenterWindow();
  // The caption text of the window (the system's window text).
  void SetTitle(const std::wstring& text);
  std::wstring GetTitle() const;
  void Minimize();
  // Synchronous, from any thread: ui::SendWindowMessage to this window. (Not named
  // SendMessage, which the Windows headers turn into a macro.)
  intptr_t Send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) const;

  // The live toolkit window of a handle, or null (UI thread only).
  static CWindowWnd* FromHandle(WindowHandle handle);
  // The window's controls, when it is built from a layout; null for a plain window.
  virtual const WindowTree* ControlTree() const { return nullptr; }

  // HostWindowEvents: the host's calls end here.
  void OnCloseRequest() override;
  void OnDestroyed() override;
  intptr_t OnWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  bool DoAccessibleAction(uint32_t id) override;
  bool SetAccessibleValue(uint32_t id, const std::wstring& value) override;

 protected:
  virtual std::wstring GetWindowClassName() const = 0;
  // Messages to the window; the default processing of a system message (close,
  // minimise, hit testing) happens here.
  virtual intptr_t HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  // The window is gone and none of its events is being handled any more.
  virtual void OnFinalMessage() {}
  // Before the host window is made: a chance to adjust its parameters (the layout's
  // size and borders); false stops the creation.
  virtual bool PrepareCreate(WindowCreateParams&) { return true; }
  // What the tree answers for hit tests; the plain window is all client.
  virtual intptr_t HitTestClient(Point) const;

  // Held by every event handler of the window: finishing a destroyed window waits until
  // the outermost one returns.
  class DispatchScope {
   public:
    explicit DispatchScope(CWindowWnd& window);
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

   private:
    CWindowWnd& window_;
  };

 private:
  struct ModalState;
  void Finish();

  std::unique_ptr<HostWindow> host_;
  WindowHandle handle_ = nullptr;
  WindowHandle owner_ = nullptr;
  int depth_ = 0;
  bool destroyed_ = false;
  bool finished_ = false;
  int closeResult_ = 0;
  std::shared_ptr<ModalState> modal_;
};

}  // namespace ui
