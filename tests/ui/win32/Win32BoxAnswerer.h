// Answering the Windows host's message boxes in tests, as a user would.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "WaitUntil.h"

// Clicks a button of the first message box with that caption and records the box's owner.
class BoxAnswerer {
 public:
  BoxAnswerer(int button, std::wstring caption)
      : caption_(std::move(caption)), thread_([this, button] {
          HWND box = nullptr;
          if (!WaitUntil([&] { return (box = FindWindowW(L"#32770", caption_.c_str())) != nullptr; })) return;
          owner = GetWindow(box, GW_OWNER);
          PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        }) {}
  ~BoxAnswerer() { thread_.join(); }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;
  std::atomic<HWND> owner{nullptr};

 private:
  std::wstring caption_;
  std::thread thread_;
};
