// Renders one window of the wizard to a PNG with the headless host, on a throwaway
// simulated machine, so pictures never depend on (or change) the user's machine folder.
//
//   quorvel-snapshot --language 1054 --window main|about|language
//                    --page index|install:N|delete:N --scale 100|125|150|175|200 --out file.png
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "shell/app/MainWnd.h"
#include "shell/app/StartUp.h"
#include "simulated/ScratchMachine.h"
#include "ui/cairo/CanvasCairo.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/CWindowWnd.h"
#include "ui/core/SystemConstants.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/WizardContext.h"

namespace {

struct Options {
  int language = 1033;
  std::string window = "main";
  std::string page = "index";
  int scale = 100;
  std::string out;
};

int Usage(const char* why) {
  std::fprintf(stderr,
               "quorvel-snapshot: %s\n"
               "usage: quorvel-snapshot --language ID --window main|about|language\n"
               "                        --page index|install:N|delete:N --scale 100|125|150|175|200 --out FILE.png\n",
               why);
  return 2;
}

std::optional<int> ToInt(std::string_view text) {
  if (text.empty() || text.size() > 6) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<Options> Parse(int argc, char** argv, std::string& why) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view flag = argv[i];
    if (i + 1 >= argc) {
      why = "missing value after " + std::string(flag);
      return std::nullopt;
    }
    const std::string value = argv[++i];
    if (flag == "--language") {
      auto id = ToInt(value);
      if (!id) {
        why = "bad language id " + value;
        return std::nullopt;
      }
      options.language = *id;
    } else if (flag == "--window") {
      options.window = value;
    } else if (flag == "--page") {
      options.page = value;
    } else if (flag == "--scale") {
      auto scale = ToInt(value);
      if (!scale || *scale < 100 || *scale > 200 || *scale % 25 != 0) {
        why = "scale must be 100, 125, 150, 175 or 200";
        return std::nullopt;
      }
      options.scale = *scale;
    } else if (flag == "--out") {
      options.out = value;
    } else {
      why = "unknown option " + std::string(flag);
      return std::nullopt;
    }
  }
  if (options.out.empty()) {
    why = "--out is required";
    return std::nullopt;
  }
  if (options.window != "main" && options.window != "about" && options.window != "language") {
    why = "unknown window " + options.window;
    return std::nullopt;
  }
  return options;
}

// The index of the main tab's panel that holds the given control (the install or delete
// wizard is included in a panel of its own).
int PanelHolding(ui::TabLayout* mainTab, ui::Control* control) {
  for (ui::Control* c = control; c; c = c->GetParent()) {
    if (c->GetParent() != mainTab) continue;
    for (int i = 0; i < mainTab->GetChildCount(); ++i) {
      if (mainTab->GetChildAt(i) == c) return i;
    }
  }
  return -1;
}

// Shows the requested page; false with a reason when there is no such page.
bool ShowPage(ui::HostHeadless& host, const std::string& page, std::string& why) {
  if (page == "index") return true;
  const auto colon = page.find(':');
  const std::string kind = page.substr(0, colon);
  const auto panel =
      colon == std::string::npos ? std::optional<int>{} : ToInt(std::string_view(page).substr(colon + 1));
  auto& context = WizardContext::Instance();
  ui::TabLayout* wizard = kind == "install" ? context.installTab : kind == "delete" ? context.removalTab : nullptr;
  if (!wizard || !panel || !context.mainTab) {
    why = "unknown page " + page;
    return false;
  }
  if (!context.mainTab->SelectItem(PanelHolding(context.mainTab, wizard)) || !wizard->SelectItem(*panel)) {
    why = "no panel " + page;
    return false;
  }
  host.RunUntilIdle();
  host.AdvanceTime(1000);  // let the slide animations finish
  host.RunUntilIdle();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string why;
  auto options = Parse(argc, argv, why);
  if (!options) return Usage(why.c_str());

  ScratchMachine machine;
  machine.Machine().SetUiLanguage(static_cast<uint16_t>(options->language));

  ui::CanvasCairo::PrepareFonts();
  auto owned = std::make_unique<ui::HostHeadless>(options->scale);
  ui::HostHeadless& host = *owned;
  ui::InstallHost(std::move(owned));
  auto window = StartMainWindow();
  if (!window) {
    std::fprintf(stderr, "quorvel-snapshot: the main window could not be created\n");
    return 1;
  }
  host.RunUntilIdle();

  bool written = false;
  if (!ShowPage(host, options->page, why)) {
    std::fprintf(stderr, "quorvel-snapshot: %s\n", why.c_str());
  } else if (options->window == "main") {
    written = host.RenderToPng(window->GetHWND(), options->out);
  } else {
    // The popup is modal: it is pictured and closed from the idle action of its loop.
    host.QueueIdleAction([&] {
      const auto windows = host.Windows();
      if (windows.size() < 2) return;
      host.AdvanceTime(1000);
      host.RunUntilIdle();
      written = host.RenderToPng(windows.back(), options->out);
      if (auto* popup = ui::CWindowWnd::FromHandle(windows.back())) popup->Close(0);
    });
    host.ClickControl(window->GetHWND(), options->window == "about" ? L"btnAbout" : L"btnLan");
    host.RunUntilIdle();
  }
  if (window->IsWindow()) window->DestroyWindow();
  host.RunUntilIdle();
  window.reset();
  TerminateToolkit();
  if (!written) {
    std::fprintf(stderr, "quorvel-snapshot: nothing written to %s\n", options->out.c_str());
    return 1;
  }
  return 0;
}
