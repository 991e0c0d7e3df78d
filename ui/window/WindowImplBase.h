// The base of every window of the program: a CWindowWnd whose controls come from a
// layout (GetSkinFile), with the notification pump (CNotifyPump and INotifyUI), the key
// filter (IMessageFilterUI: Escape is swallowed, Enter goes on to the controls),
// custom controls for the layout (IDialogBuilderCallback) and the text query of the
// resource manager (IQueryControlText, which answers "no text").
//
// A window author overrides what it needs:
//   GetWindowClassName, GetSkinFile      (required)
//   InitWindow                           after the controls are built and the window made
//   Notify                               every notification (default: NotifyPump, which
//                                        serves virtual windows and the notify map;
//                                        "click" goes to OnClick)
//   OnClick                              default: "closebtn" closes, "minbtn" minimises
//   HandleCustomMessage                  every window message not handled before
//   OnSysCommand, OnClose, OnDestroy     system messages
//   OnFinalMessage                       popups "delete this" here
//
// Messages reach HandleMessage in this order: the handlers for create, close, destroy
// and system commands; then HandleCustomMessage; then the default processing.
// Key presses go through the key filters first (kWmKeyDown ...), then
// HandleCustomMessage, then the focused control.
//
// A layout that cannot be built shows a system message box without owner ("加载资源文件失败："
// and the layout id, error icon) and ends the process with exit code 1.
//
// Threads: UI thread only, except CWindowWnd::Send.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/core/CNotifyPump.h"
#include "ui/core/CWindowWnd.h"
#include "ui/core/IDialogBuilderCallback.h"
#include "ui/core/IMessageFilterUI.h"
#include "ui/core/INotifyUI.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/WindowTree.h"

namespace ui {

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback,
                       public IQueryControlText {
 public:
  WindowImplBase();
  ~WindowImplBase() override;

  // The controls of the window and what they share (fonts, focus, layout ...).
  WindowTree& Tree() { return tree_; }
  const WindowTree& Tree() const { return tree_; }
  const WindowTree* ControlTree() const override { return &tree_; }
  // A control of the window by name, of that class; null when the layout lacks it.
  template <class T = Control>
  T* FindControl(std::wstring_view name) const {
    return tree_.FindControl<T>(name);
  }

  void Notify(TNotifyUI& msg) override;
  intptr_t MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override;
  std::unique_ptr<Control> CreateControl(std::wstring_view className) override;
  std::optional<std::wstring> QueryControlText(std::wstring_view id) override;

  // Ends the process after a layout failed to load; tests put a hook here that records
  // the code and returns (Create then returns null). Returns the previous hook.
  static std::function<void(int)> SetExitHook(std::function<void(int)> hook);

  // HostWindowEvents
  void OnPaint(Canvas& canvas, const Rect& dirty) override;
  void OnMouse(const MouseEvent& event) override;
  void OnKey(const KeyEvent& event) override;
  void OnText(const std::wstring& text) override;
  void OnTimer(int timerId) override;
  void OnResize(Size clientSize) override;
  void OnFocusChanged(bool focused) override;
  void OnScaleChanged(int scalePercent) override;
  void OnDestroyed() override;
  WindowTree* AccessibleTree() override { return &tree_; }

 protected:
  // A layout id of res.xml ("XML_MAIN") or a file name of the skin ("pop_about.xml").
  virtual std::wstring GetSkinFile() = 0;
  virtual void InitWindow() {}
  virtual void OnClick(TNotifyUI& msg);
  virtual intptr_t HandleCustomMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled);
  virtual intptr_t OnCreate(uintptr_t wParam, intptr_t lParam, bool& handled);
  virtual intptr_t OnClose(uintptr_t wParam, intptr_t lParam, bool& handled);
  virtual intptr_t OnDestroy(uintptr_t wParam, intptr_t lParam, bool& handled);
  virtual intptr_t OnSysCommand(uintptr_t wParam, intptr_t lParam, bool& handled);

  intptr_t HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  bool PrepareCreate(WindowCreateParams& params) override;
  intptr_t HitTestClient(Point client) const override;

 private:
  void ReportLoadFailure(const std::wstring& skin);

  WindowTree tree_;
};

}  // namespace ui
