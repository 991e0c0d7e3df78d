// A message box as the program shows it (shell/MessageBoxes.h): the text, the caption of
// "tip.dlgtitle" and the flags, checked together so that a box with the right text but a
// wrong caption or icon fails.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ui/core/ResourceManager.h"
#include "ui/headless/HostHeadless.h"

inline void ExpectProgramBox(const ui::HostHeadless::MessageBoxRecord& box, const std::wstring& text, unsigned flags) {
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.caption, ui::GetText(L"tip.dlgtitle"));
  EXPECT_EQ(box.flags, flags);
}
