#include "base/MessageBus.h"
#include "shell/MainWindowMessages.h"
#include "shell/console/MessageSink.h"

MessageSink::MessageSink(Handler handler) : handler_(std::move(handler)) {
  window_ = ui::MessageBus::Instance().Register([this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message >= kFirstMainWindowMessage && message <= kLastMainWindowMessage) handler_(message, wParam, lParam);
    return intptr_t{0};
  });
}

MessageSink::~MessageSink() {
  if (window_ != nullptr) ui::MessageBus::Instance().Unregister(window_);
}
