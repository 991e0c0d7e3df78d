#include "shell/LogLines.h"

#include "base/WindowMessage.h"
#include "shell/MainWindowMessages.h"
#include "shell/UiTextMessage.h"

namespace {
void SendLogLine(ui::WindowHandle window, uint32_t message, std::wstring text, bool error, bool clear) {
  UiTextMessage payload{std::move(text), static_cast<uint8_t>(error), static_cast<uint8_t>(clear), 1};
  ui::SendWindowMessage(window, message, 0, reinterpret_cast<intptr_t>(&payload));
}
}  // namespace

void AppendInstallLine(ui::WindowHandle mainWindow, std::wstring text, bool error, bool clear) {
  SendLogLine(mainWindow, kMsgInstallLog, std::move(text), error, clear);
}

void AppendRemoveLine(ui::WindowHandle mainWindow, std::wstring text, bool error, bool clear) {
  SendLogLine(mainWindow, kMsgRemoveLog, std::move(text), error, clear);
}
