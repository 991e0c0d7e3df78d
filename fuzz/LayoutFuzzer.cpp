// The layout builder: the input is a skin file, built into a window's control tree on
// the headless host, laid out and painted at one of the display scales, its lists given
// rows, walked by keyboard and clicked, then the window is closed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/controls/List.h"
#include "ui/core/SkinFiles.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"
#include "ui/window/WindowImplBase.h"

namespace {

class FuzzedWindow : public ui::WindowImplBase {
 protected:
  std::wstring GetWindowClassName() const override { return L"FuzzedLayout"; }
  std::wstring GetSkinFile() override { return L"fuzzed.xml"; }
};

// The display scale follows the input's length, so every layout meets 100, 125 and 150 %.
ui::HostHeadless* HostForScale(int scale) {
  static ui::HostHeadless* current = nullptr;
  if (current == nullptr || current->DisplayScalePercent() != scale) {
    auto host = std::make_unique<ui::HostHeadless>(scale);
    current = host.get();
    ui::InstallHost(std::move(host));
    // A layout that does not load must not end the process here.
    ui::WindowImplBase::SetExitHook([](int) {});
  }
  return current;
}

// Lists are filled by the program, not the layout: give each a few rows of its template.
void FillLists(ui::Control* control) {
  if (control == nullptr) return;
  if (auto* list = dynamic_cast<ui::List*>(control)) {
    for (int i = 0; i < 3; ++i) list->AddRow();
    list->SelectRow(1);
  }
  for (int i = 0; i < control->GetChildCount(); ++i) FillLists(control->GetChildAt(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static constexpr int kScales[] = {100, 125, 150};
  ui::HostHeadless* host = HostForScale(kScales[size % 3]);
  ui::WindowTree::ClearShared();
  ui::SkinFiles::SetMemoryFiles({{"fuzzed.xml", std::string(reinterpret_cast<const char*>(data), size)}});
  FuzzedWindow window;
  if (window.Create(nullptr, L"", ui::kWsVisible | ui::kWsPopup, 0, {0, 0, 300, 200}) != nullptr) {
    host->RunUntilIdle();
    FillLists(window.Tree().GetRoot());
    // The keyboard walks the controls as a user would.
    const ui::WindowHandle handle = window.GetHWND();
    for (unsigned key : {ui::kVkTab, ui::kVkTab, ui::kVkDown, ui::kVkEnd, ui::kVkSpace}) host->PressKey(handle, key);
    host->TypeText(handle, L"ab");
    host->Click(handle, {150, 100});
    host->RunUntilIdle();
    window.DestroyWindow();
    host->RunUntilIdle();
  }
  return 0;
}
