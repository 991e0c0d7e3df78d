// The About box, opened from the main window's title bar as the user opens it.
#include <gtest/gtest.h>

#include <string>

#include "shell/HeadlessMainWindow.h"
#include "ui/controls/Label.h"
#include "ui/window/WindowImplBase.h"

namespace {

using AboutBox = HeadlessMainWindow;

TEST_F(AboutBox, ShowsTheVersionAndDateInAnyLanguageAndCloses) {
  OpenMainWindow(1041);
  std::wstring version, revised;
  host_->QueueIdleAction([&] {
    auto* about = dynamic_cast<ui::WindowImplBase*>(ui::CWindowWnd::FromHandle(host_->Windows().back()));
    ASSERT_NE(about, nullptr);
    version = about->FindControl<ui::Label>(L"app_version")->GetText();
    revised = about->FindControl<ui::Label>(L"app_time")->GetText();
    host_->ClickControl(about->GetHWND(), L"closebtn");
  });
  host_->ClickControl(window_->GetHWND(), L"btnAbout");
  host_->RunUntilIdle();
  EXPECT_EQ(version, L"V1.0.01");
  EXPECT_EQ(revised, L"Revised Date:          2024-10-22 08:44:53");
  EXPECT_EQ(host_->Windows().size(), 1u);
}

TEST_F(AboutBox, AltF4OnItEndsTheProgram) {
  OpenMainWindow(1033);
  host_->QueueIdleAction([&] { host_->RequestClose(host_->Windows().back()); });
  host_->ClickControl(window_->GetHWND(), L"btnAbout");
  host_->RunUntilIdle();
  EXPECT_TRUE(host_->QuitPosted());
}

}  // namespace
