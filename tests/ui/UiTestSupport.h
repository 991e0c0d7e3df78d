// Shared set-up of the toolkit tests: a fresh headless host per test, skin files held
// in memory, and a window class built from layout text.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/core/SkinFiles.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "ui/window/WindowImplBase.h"

namespace uitest {

// The PNG bytes of a cairo surface, which it takes and destroys (images for the package).
inline std::string PngOf(cairo_surface_t* surface) {
  std::string bytes;
  cairo_surface_write_to_png_stream(
      surface,
      [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  cairo_surface_destroy(surface);
  return bytes;
}

// A window whose layout is given as text or as a skin file name; it records every
// notification and every custom message, and a test can hook into each.
class TestWindow : public ui::WindowImplBase {
 public:
  explicit TestWindow(std::wstring skin, std::wstring className = L"TestWnd")
      : skin_(std::move(skin)), className_(std::move(className)) {}

  std::vector<std::wstring> notes;  // "type:sender name"
  std::function<void(ui::TNotifyUI&)> onNotify;
  std::function<void()> onInit;
  std::function<intptr_t(uint32_t, uintptr_t, intptr_t, bool&)> onMessage;
  bool deleteOnFinal = false;
  bool* finalFlag = nullptr;

  void Notify(ui::TNotifyUI& msg) override {
    notes.push_back(msg.type + L":" + msg.SenderName());
    if (onNotify) onNotify(msg);
    WindowImplBase::Notify(msg);
  }
  using CNotifyPump::OnNotify;

 protected:
  std::wstring GetWindowClassName() const override { return className_; }
  std::wstring GetSkinFile() override { return skin_; }
  void InitWindow() override {
    if (onInit) onInit();
  }
  intptr_t HandleCustomMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override {
    if (onMessage) return onMessage(message, wParam, lParam, handled);
    handled = false;
    return 0;
  }
  void OnFinalMessage() override {
    if (finalFlag != nullptr) *finalFlag = true;
    if (deleteOnFinal) delete this;
  }

 private:
  std::wstring skin_;
  std::wstring className_;
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto host = std::make_unique<ui::HostHeadless>(Scale());
    host_ = host.get();
    ui::InstallHost(std::move(host));
    ui::SkinFiles::SetMemoryFiles({});
    ui::WindowTree::ClearShared();
  }
  void TearDown() override {
    windows_.clear();
    ui::SkinFiles::SetMemoryFiles({});
  }
  virtual int Scale() const { return 100; }

  // A visible window from layout text (or a skin file name), owned by the test.
  TestWindow* Open(const std::wstring& layout, ui::WindowHandle owner = nullptr) {
    windows_.push_back(std::make_unique<TestWindow>(layout));
    TestWindow* window = windows_.back().get();
    EXPECT_NE(window->Create(owner, L"", ui::kWsVisible | ui::kWsPopup, 0, {0, 0, 300, 200}), nullptr);
    host_->RunUntilIdle();
    return window;
  }

  ui::HostHeadless* host_ = nullptr;
  std::vector<std::unique_ptr<TestWindow>> windows_;
};

}  // namespace uitest
