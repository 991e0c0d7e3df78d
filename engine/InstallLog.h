// The install log as the installation worker writes it: language texts by key, completed
// with one argument, as plain or error lines of the main window's install pane.
//
// Threads: the installation worker (any thread; each line returns once shown).
#pragma once

#include <string>
#include <string_view>

#include "base/WindowHandle.h"

class InstallLog {
 public:
  explicit InstallLog(ui::WindowHandle mainWindow) : mainWindow_(mainWindow) {}

  void Clear() const;
  // The text of the key, completed with the argument ("%s").
  void Plain(const wchar_t* key, std::wstring_view argument = {}) const;
  void Error(const wchar_t* key, std::wstring_view argument = {}) const;
  // A text as it stands, not a key.
  void PlainText(std::wstring text) const;
  void ErrorText(std::wstring text) const;

 private:
  ui::WindowHandle mainWindow_;
};
