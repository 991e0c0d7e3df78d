// The layout builder: the input is a skin file, built into a window's control tree on
// the headless host, laid out and painted, then the window is closed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/HostHeadless.h"
#include "ui/SkinFiles.h"
#include "ui/SystemConstants.h"
#include "ui/WindowImplBase.h"
#include "ui/WindowTree.h"

namespace {

class FuzzedWindow : public ui::WindowImplBase {
 protected:
  std::wstring GetWindowClassName() const override { return L"FuzzedLayout"; }
  std::wstring GetSkinFile() override { return L"fuzzed.xml"; }
};

ui::HostHeadless* InstallHeadlessHost() {
  auto host = std::make_unique<ui::HostHeadless>(100);
  ui::HostHeadless* headless = host.get();
  ui::InstallHost(std::move(host));
  // A layout that does not load must not end the process here.
  ui::WindowImplBase::SetExitHook([](int) {});
  return headless;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ui::HostHeadless* host = InstallHeadlessHost();
  ui::WindowTree::ClearShared();
  ui::SkinFiles::SetMemoryFiles({{"fuzzed.xml", std::string(reinterpret_cast<const char*>(data), size)}});
  FuzzedWindow window;
  if (window.Create(nullptr, L"", ui::kWsVisible | ui::kWsPopup, 0, {0, 0, 300, 200}) != nullptr) {
    host->RunUntilIdle();
    window.DestroyWindow();
    host->RunUntilIdle();
  }
  return 0;
}
