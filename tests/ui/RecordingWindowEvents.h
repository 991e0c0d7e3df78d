// What a host window reported, for the host tests of every host, plus a few hooks a test
// sets to act inside a handler (paint, answer a message, destroy the window).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ui/core/Host.h"

struct WindowMessageRecord {
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  std::thread::id thread;
};

class RecordingWindowEvents : public ui::HostWindowEvents {
 public:
  void OnPaint(ui::Canvas& canvas, const ui::Rect& dirty) override {
    ++paints;
    lastDirty = dirty;
    if (paint) paint(canvas);
  }
  void OnMouse(const ui::MouseEvent& event) override { mouse.push_back(event); }
  void OnKey(const ui::KeyEvent& event) override { keys.push_back(event); }
  void OnText(const std::wstring& text) override { texts.push_back(text); }
  void OnTimer(int timerId) override {
    timers.push_back(timerId);
    if (timer) timer(timerId);
  }
  void OnResize(ui::Size clientSize) override { sizes.push_back(clientSize); }
  void OnFocusChanged(bool focused) override { focus.push_back(focused); }
  void OnScaleChanged(int scalePercent) override { scales.push_back(scalePercent); }
  void OnCloseRequest() override { ++closeRequests; }
  void OnDestroyed() override {
    ++destroyed;
    window.reset();  // the toolkit deletes its host window here
  }
  intptr_t OnWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (message == 0x0084) return hitTestAnswer;  // WM_NCHITTEST: the toolkit's own answer
    messages.push_back({message, wParam, lParam, std::this_thread::get_id()});
    return answer ? answer(message, wParam, lParam) : 0;
  }

  std::unique_ptr<ui::HostWindow> window;
  std::function<void(ui::Canvas&)> paint;
  std::function<void(int)> timer;
  std::function<intptr_t(uint32_t, uintptr_t, intptr_t)> answer;
  intptr_t hitTestAnswer = 0;

  int paints = 0;
  ui::Rect lastDirty;
  std::vector<ui::MouseEvent> mouse;
  std::vector<ui::KeyEvent> keys;
  std::vector<std::wstring> texts;
  std::vector<int> timers;
  std::vector<ui::Size> sizes;
  std::vector<int> scales;
  std::vector<bool> focus;
  int closeRequests = 0;
  int destroyed = 0;
  std::vector<WindowMessageRecord> messages;
};
