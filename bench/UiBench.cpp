// Figures for the user interface of the Linux build: process start to the first painted
// frame of the main window, peak resident memory, and 10,000 install-log lines sent from
// a worker thread: with the headless host, again without the font warm-up, and with the
// GTK host when a display is set. Each comes from a fresh process of this program that
// does nothing else; the parent itself stays small, since ru_maxrss is kept across the
// exec of a spawned child.
// Run: build/linux/bench/UiBench [--quick]   (DISPLAY=:88 for the GTK figures too;
//      --quick: 1,000 log lines)
#include <gtk/gtk.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "base/WindowMessage.h"
#include "shell/app/MainWnd.h"
#include "shell/app/StartUp.h"
#include "simulated/ScratchMachine.h"
#include "ui/cairo/CanvasCairo.h"
#include "ui/controls/TabLayout.h"
#include "ui/core/Control.h"
#include "ui/core/SystemConstants.h"
#include "ui/gtk/HostGtk.h"
#include "ui/gtk/HostWindowGtk.h"
#include "ui/headless/HostHeadless.h"
#include "wizard/WizardContext.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
int logLines = 10000;  // 1,000 with --quick

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

long PeakRssKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Paints of the main window as the host reports them. The GTK host paints inside the
// window's "draw" signal; an emission hook sees every draw without touching the host, and
// the frame clock's after-paint marks the end of the frame that drew.
struct GtkPaints {
  GtkWidget* widget = nullptr;
  int draws = 0;
  bool framePainted = false;

  static gboolean OnDraw(GSignalInvocationHint*, guint, const GValue* values, gpointer self) {
    auto* paints = static_cast<GtkPaints*>(self);
    if (g_value_get_object(&values[0]) == paints->widget) ++paints->draws;
    return TRUE;  // stay installed
  }
  static void OnAfterPaint(GdkFrameClock*, gpointer self) {
    auto* paints = static_cast<GtkPaints*>(self);
    if (paints->draws > 0) paints->framePainted = true;
  }
};

// Shows the install wizard's panel that holds the install log, so the lines are painted.
void ShowInstallLog(CMainWnd& window) {
  auto& context = WizardContext::Instance();
  auto* pane = window.FindControl<ui::Control>(L"wordedit_installInfo");
  if (!context.mainTab || !context.installTab || !pane) return;
  for (ui::TabLayout* tab : {context.installTab, context.mainTab}) {
    tab->SetAnimation(false);
    for (ui::Control* c = pane; c; c = c->GetParent()) {
      if (c->GetParent() != tab) continue;
      for (int i = 0; i < tab->GetChildCount(); ++i) {
        if (tab->GetChildAt(i) == c) tab->SelectItem(i);
      }
    }
  }
}

// Sends the lines from a worker while the UI thread runs its message loop; returns the
// worker's time from the first send to the last return.
Clock::duration SendLogLines(CMainWnd& window) {
  Clock::duration sending{};
  std::thread worker([&] {
    auto& context = WizardContext::Instance();
    const auto start = Clock::now();
    for (int i = 0; i < logLines; ++i) {
      context.AppendInstallLog(L"Copying driver file " + std::to_wstring(i) + L" of the package", i % 97 == 0, false);
    }
    sending = Clock::now() - start;
    ui::RunOnWindowThread(window.GetHWND(), [] {
      ui::CurrentHost().PostQuit(0);
      return intptr_t{0};
    });
  });
  ui::CurrentHost().RunMessageLoop();
  worker.join();
  return sending;
}

int Run(bool gtk, bool warmFonts, Clock::time_point entry) {
  ScratchMachine machine;
  machine.Machine().SetUiLanguage(1033);

  const auto fontsStart = Clock::now();
  if (warmFonts) ui::CanvasCairo::PrepareFonts();
  const auto fonts = Clock::now() - fontsStart;

  ui::HostHeadless* headless = nullptr;
  Clock::duration gtkOpen{};
  if (gtk) {
    std::string whyNot;
    const auto openStart = Clock::now();
    auto host = ui::HostGtk::Create(whyNot);
    gtkOpen = Clock::now() - openStart;
    if (!host) {
      std::fprintf(stderr, "UiBench: %s\n", whyNot.c_str());
      return 1;
    }
    ui::InstallHost(std::move(host));
  } else {
    auto host = std::make_unique<ui::HostHeadless>(100);
    headless = host.get();
    ui::InstallHost(std::move(host));
  }
  auto window = StartMainWindow();
  if (!window) {
    std::fprintf(stderr, "UiBench: the main window could not be created\n");
    return 1;
  }

  GtkPaints paints;
  gulong hook = 0;
  const guint drawSignal = gtk ? g_signal_lookup("draw", GTK_TYPE_WIDGET) : 0;
  if (gtk) {
    paints.widget = GTK_WIDGET(ui::HostWindowGtk::FromHandle(window->GetHWND())->Gtk());
    hook = g_signal_add_emission_hook(drawSignal, 0, &GtkPaints::OnDraw, &paints, nullptr);
    g_signal_connect(gtk_widget_get_frame_clock(paints.widget), "after-paint", G_CALLBACK(&GtkPaints::OnAfterPaint),
                     &paints);
    ui::CurrentHost().RunModalLoop([&] { return paints.framePainted; });
  } else {
    const auto* host = headless->Window(window->GetHWND());
    ui::CurrentHost().RunModalLoop([&] { return host->PaintCount() > 0; });
  }
  const auto firstFrame = Clock::now() - entry;
  const long rssStart = PeakRssKib();

  ShowInstallLog(*window);
  if (headless) headless->RunUntilIdle();
  const int paintsBefore = gtk ? paints.draws : headless->Window(window->GetHWND())->PaintCount();
  const auto sending = SendLogLines(*window);
  const int paintsDuring = (gtk ? paints.draws : headless->Window(window->GetHWND())->PaintCount()) - paintsBefore;
  const long rssAfterLog = PeakRssKib();

  std::printf("%s%s\n", gtk ? "GTK host" : "headless host", warmFonts ? "" : ", fonts not prepared");
  std::printf("  main() to first painted frame     %9.1f ms\n", Ms(firstFrame));
  if (warmFonts) std::printf("    of which CanvasCairo::PrepareFonts %6.1f ms (it loads on a thread)\n", Ms(fonts));
  if (gtk) std::printf("    of which HostGtk::Create             %6.1f ms (GTK and the display)\n", Ms(gtkOpen));
  std::printf("  peak resident after start         %9.1f MiB\n", rssStart / 1024.0);
  std::printf("  %d log lines from a worker:\n", logLines);
  std::printf("    first send to last return       %9.1f ms (%.1f us a line)\n", Ms(sending),
              Ms(sending) * 1000.0 / logLines);
  std::printf("    paints of the main window       %9d\n", paintsDuring);
  std::printf("  peak resident after the log lines %9.1f MiB\n", rssAfterLog / 1024.0);
  std::fflush(stdout);

  if (gtk) g_signal_remove_emission_hook(drawSignal, hook);
  if (window->IsWindow()) window->DestroyWindow();
  if (headless) headless->RunUntilIdle();
  window.reset();
  TerminateToolkit();
  return 0;
}

int RunChild(const char* option) {
  char self[] = "/proc/self/exe";
  std::string flag = option;
  std::string quick = logLines < 10000 ? "--quick" : "";
  char* argv[] = {self, flag.data(), quick.empty() ? nullptr : quick.data(), nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, self, nullptr, nullptr, argv, environ) != 0) {
    std::perror("UiBench: posix_spawn");
    return 1;
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const auto entry = Clock::now();
  const std::string_view option = argc > 1 ? argv[1] : "";
  if (std::string_view(argv[argc - 1]) == "--quick") logLines = 1000;
  if (option == "--gtk") return Run(true, true, entry);
  if (option == "--headless") return Run(false, true, entry);
  if (option == "--cold-fonts") return Run(false, false, entry);
  for (const char* child : {"--headless", "--cold-fonts"}) {
    if (int result = RunChild(child); result != 0) return result;
  }
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    std::printf("GTK host: skipped, DISPLAY is not set\n");
    return 0;
  }
  return RunChild("--gtk");
}
