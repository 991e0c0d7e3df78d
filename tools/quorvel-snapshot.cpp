// Renders one window of the wizard to a PNG with the headless host, on a throwaway
// simulated machine, so pictures never depend on (or change) the user's machine folder.
//
//   quorvel-snapshot --language 1054 --window main|about|language
//                    --page index|install:N|delete:N|installed|removal-summary
//                    --scale 100|125|150|175|200 [--contrast normal|high] --out file.png
//
// "--contrast high" paints as where the system asks for high contrast (light on black).
//
// "installed" and "removal-summary" are reached by clicks, as a user would: a COM1:
// installation run to its end (its log), then the removal of that printer and its driver
// up to the removal's summary.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "base/WideText.h"
#include "engine/spooler/InstallationLock.h"
#include "shell/app/MainWnd.h"
#include "shell/app/StartUp.h"
#include "simulated/ScratchMachine.h"
#include "simulated/SimulatedMachine.h"
#include "ui/cairo/CanvasCairo.h"
#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"
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
  bool highContrast = false;
};

int Usage(const char* why) {
  std::fprintf(stderr,
               "quorvel-snapshot: %s\n"
               "usage: quorvel-snapshot --language ID --window main|about|language\n"
               "                        --page index|install:N|delete:N|installed|removal-summary --scale "
               "100|125|150|175|200 [--contrast normal|high] --out FILE.png\n",
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
    } else if (flag == "--contrast") {
      if (value != "normal" && value != "high") {
        why = "contrast must be normal or high";
        return std::nullopt;
      }
      options.highContrast = value == "high";
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

// Lets the slide animations finish and pending messages run.
void Settle(ui::HostHeadless& host) {
  host.RunUntilIdle();
  host.AdvanceTime(1000);
  host.RunUntilIdle();
}

// Runs the window's loop until done() (the run's worker posts meanwhile); false after 60 s.
template <class Done>
bool PumpUntil(ui::HostHeadless& host, Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    host.RunUntilIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  Settle(host);
  return true;
}

// A click on the named control; false with a reason when it did not take.
bool Click(ui::HostHeadless& host, CMainWnd& window, const wchar_t* name, std::string& why) {
  if (host.ClickControl(window.GetHWND(), name)) {
    Settle(host);
    return true;
  }
  why = "could not click " + WideToUtf8(name);
  return false;
}

// A click on the row of the list whose name column reads text: on its check box when the
// list has one, else on the name.
bool ClickRow(ui::HostHeadless& host, CMainWnd& window, const wchar_t* listName, const std::wstring& text,
              std::string& why) {
  host.RunUntilIdle();  // laid out
  auto* list = window.FindControl<ui::List>(listName);
  for (int i = 0; list && i < list->GetRowCount(); ++i) {
    ui::ListRow* row = list->GetRow(i);
    if (row->GetColumnText(1) != text) continue;
    const int column = list->CheckColumn() >= 0 ? list->CheckColumn() : 1;
    const ui::Rect cell = list->ColumnRect(column, row->GetPos());
    if (cell.IsEmpty() || !host.Click(window.GetHWND(), {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}))
      break;
    Settle(host);
    return true;
  }
  why = "no row " + WideToUtf8(text) + " to click in " + WideToUtf8(listName);
  return false;
}

// The printer a COM installation of the preselected model names by default.
constexpr const wchar_t* kInstalledModel = L"QuorvelA4-300";

// Index, Install, COM, the model, "COM1:" in the port list, the printer's name, the
// summary, then the run until the finish bar shows on the log's page.
bool InstallOnCom1(ui::HostHeadless& host, CMainWnd& window, std::string& why) {
  const auto next = [&] { return Click(host, window, L"btn_setup_next", why); };
  if (!Click(host, window, L"option_install", why) || !next() || !Click(host, window, L"option_port_com", why) ||
      !next() || !ClickRow(host, window, L"listex_install_driver_moudel", kInstalledModel, why) || !next() ||
      !ClickRow(host, window, L"listex_install_driver_port", L"COM1:", why) || !next() || !next()) {
    return false;
  }
  if (WizardContext::Instance().request.portName != L"COM1:") {
    why = "the installation's port is not COM1:";
    return false;
  }
  if (!host.ClickControl(window.GetHWND(), L"btn_setup_next")) {
    why = "the installation could not be started";
    return false;
  }
  auto* finishBar = window.FindControl(L"hor_btn_h1");
  // The worker lets go of the installation lock after its last message.
  if (!finishBar || !PumpUntil(host, [&] { return finishBar->IsVisible() && InstallationLock::TryAcquire().Held(); })) {
    why = "the installation did not end";
    return false;
  }
  // Judged on the machine, not on the log's words, which depend on the language.
  const auto printers = SimulatedMachine::Current()->Snapshot().printers;
  const auto printer = printers.find(L"quorvela4-300");
  if (printer == printers.end() || printer->second.port != L"COM1:") {
    why = "the installation left no printer on COM1:: " +
          WideToUtf8(window.FindControl(L"wordedit_installInfo")->GetText());
    return false;
  }
  return true;
}

// After the installation: Home, Delete, that printer and its driver chosen, the summary.
bool ShowRemovalSummary(ui::HostHeadless& host, CMainWnd& window, std::string& why) {
  const auto next = [&] { return Click(host, window, L"btn_setup_next", why); };
  if (!Click(host, window, L"btn_setup_index", why) || !Click(host, window, L"option_delete", why) || !next() ||
      !ClickRow(host, window, L"listex_delete_printer", kInstalledModel, why) || !next() ||
      !ClickRow(host, window, L"listex_delete_driver", kInstalledModel, why) || !next()) {
    return false;
  }
  const auto& context = WizardContext::Instance();
  if (context.selectedPrinters.size() != 1 || context.selectedDrivers.size() != 1) {
    why = "the removal's summary does not hold the printer and its driver";
    return false;
  }
  return true;
}

// Shows the requested page; false with a reason when there is no such page.
bool ShowPage(ui::HostHeadless& host, CMainWnd& window, const std::string& page, std::string& why) {
  if (page == "index") return true;
  if (page == "installed") return InstallOnCom1(host, window, why);
  if (page == "removal-summary") return InstallOnCom1(host, window, why) && ShowRemovalSummary(host, window, why);
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
  Settle(host);
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
  if (options->highContrast) host.SetHighContrast(true);
  auto window = StartMainWindow();
  if (!window) {
    std::fprintf(stderr, "quorvel-snapshot: the main window could not be created\n");
    return 1;
  }
  host.RunUntilIdle();

  bool written = false;
  if (!ShowPage(host, *window, options->page, why)) {
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
