// The contract every ui::Host keeps, whatever it runs on: windows, timers, window
// messages from other threads, message boxes, the clipboard and the keyboard focus. The
// tests are written once (HostContractTest.cpp) and each host's folder runs them with a
// harness of its own, so the headless, GTK and Windows hosts cannot drift apart.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "ui/core/Host.h"

// What a test needs of a host beyond ui::Host: running its loop, letting its time pass and
// acting as the user on its message boxes and windows.
class HostHarness {
 public:
  virtual ~HostHarness() = default;
  virtual ui::Host& Host() = 0;
  // Runs the host's loop until done() or the limit; false on the limit.
  virtual bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) = 0;
  // Lets that much of the host's time pass while its loop runs (timers fall due).
  virtual void PassTime(std::chrono::milliseconds span) = 0;
  // The next message box with this caption is answered with that button (1 OK, 2 Cancel).
  virtual void AnswerNextBox(const std::wstring& caption, int button) = 0;
  // Gives the window the keyboard focus as the user would; false where it cannot.
  virtual bool FocusWindow(ui::HostWindow& window) = 0;
};

struct HostUnderTest {
  const char* name;
  // Null (with a reason) where the host cannot run here, for example without a display.
  std::function<std::unique_ptr<HostHarness>(std::string& whyNot)> make;
};

class HostContract : public testing::TestWithParam<HostUnderTest> {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<HostHarness> harness_;
};

inline std::string HostContractName(const testing::TestParamInfo<HostUnderTest>& info) {
  return info.param.name;
}
