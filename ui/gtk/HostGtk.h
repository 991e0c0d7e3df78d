// The GTK 3 desktop host of the Linux build: real windows on an X or Wayland display,
// GLib's main loop as the message loop, GtkMessageDialog as the system message box.
//
// Lifecycle: HostGtk::Create opens the display (GTK is initialised once per process, on
// the calling thread, which becomes the UI thread) and returns null with the reason when
// there is none, so the program can tell the user to run it under Xvfb. The host installs
// the message bus's wake callback, so worker threads' window messages run on the UI
// thread while any loop of this host (or a GTK dialog) iterates.
//
// Threads: UI thread only, except ShowMessageBox, which may also be called from another
// thread: the box then runs on the UI thread and the caller waits for its answer, as a
// worker waits for MessageBoxW in the product.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "ui/core/Host.h"

namespace ui {

class HostGtk final : public Host {
 public:
  static std::unique_ptr<HostGtk> Create(std::string& whyNot);
  ~HostGtk() override = default;
  HostGtk(const HostGtk&) = delete;
  HostGtk& operator=(const HostGtk&) = delete;

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
  // A theme whose name holds "HighContrast" (HighContrastGtk.cpp).
  bool IsHighContrast() const override;
  SystemColors HighContrastColors() const override;

 private:
  HostGtk();
  // Repaints every window when the theme changes.
  static void WatchHighContrast();

  std::thread::id uiThread_;
  bool quitPosted_ = false;
  int exitCode_ = 0;
};

}  // namespace ui
