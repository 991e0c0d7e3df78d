// The Windows host of the product: real top-level windows painted with GDI, the thread's
// message queue as the event loop, MessageBoxW, the system clipboard and the system DPI.
//
// Lifecycle: CreateWin32Host(instance) on the UI thread at start-up; the entry point
// installs it with ui::InstallHost(ui::CreateWin32Host(instance)). It marks the process
// DPI aware (as the manifest does). Window classes are registered on first use and
// unregistered when the host goes, after its windows.
//
// Threads: UI thread only (the thread that created the host owns its windows and loops),
// except ShowMessageBox, which any thread may call: a worker's box then runs its own
// modal loop on the worker's thread, as MessageBoxW does.
#pragma once

#include "ui/win32/WindowsHeaders.h"

#include <memory>

#include "ui/core/Host.h"
#include "ui/win32/FontCacheGdi.h"
#include "ui/win32/WindowClassRegistry.h"

namespace ui {

class HostWin32 final : public Host {
 public:
  explicit HostWin32(HINSTANCE instance);
  ~HostWin32() override;
  HostWin32(const HostWin32&) = delete;
  HostWin32& operator=(const HostWin32&) = delete;

  // Null when the system refuses the window (for example without a display).
  std::unique_ptr<HostWindow> CreateHostWindow(HostWindowEvents& events, const WindowCreateParams& params) override;
  int RunMessageLoop() override;
  void RunModalLoop(const std::function<bool()>& done) override;
  void PostQuit(int exitCode) override;
  bool QuitPosted() const override { return quitPosted_; }
  int ShowMessageBox(WindowHandle owner, const std::wstring& text, const std::wstring& caption,
                     unsigned flags) override;
  int DisplayScalePercent() const override;
  std::wstring ClipboardText() const override;
  void SetClipboardText(const std::wstring& text) override;
  // SPI_GETHIGHCONTRAST and the system colours (HighContrastWin32.cpp).
  bool IsHighContrast() const override;
  SystemColors HighContrastColors() const override;

 private:
  HWND ClipboardOwner();

  WindowClassRegistry classes_;
  std::shared_ptr<FontCacheGdi> fonts_ = std::make_shared<FontCacheGdi>();
  HWND clipboardOwner_ = nullptr;  // a message-only window, destroyed with the host
  bool quitPosted_ = false;
};

std::unique_ptr<Host> CreateWin32Host(HINSTANCE instance);

}  // namespace ui
