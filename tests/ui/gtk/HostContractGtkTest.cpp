#include <gtk/gtk.h>

#include <vector>

#include "WaitUntil.h"
#include "ui/HostContract.h"
#include "ui/gtk/GtkBoxAnswer.h"
#include "ui/gtk/GtkTestSupport.h"
#include "ui/gtk/HostGtk.h"
#include "ui/gtk/HostWindowGtk.h"

namespace {

class GtkHarness final : public HostHarness {
 public:
  explicit GtkHarness(std::unique_ptr<ui::HostGtk> host) : host_(std::move(host)) {}
  ui::Host& Host() override { return *host_; }
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override {
    return WaitUntil(
        [&] {
          while (g_main_context_iteration(nullptr, FALSE)) {
          }
          return done();
        },
        limit);
  }
  void PassTime(std::chrono::milliseconds span) override {
    const auto end = std::chrono::steady_clock::now() + span;
    PumpUntil([&] { return std::chrono::steady_clock::now() >= end; }, span + std::chrono::seconds(1));
  }
  void AnswerNextBox(const std::wstring&, int button) override {
    auto answer = std::make_unique<BoxAnswer>();
    answer->response = button == 2 ? GTK_RESPONSE_CANCEL : GTK_RESPONSE_OK;
    answer->Arm();
    answers_.push_back(std::move(answer));  // its timer holds it until the box is answered
  }
  bool FocusWindow(ui::HostWindow& window) override {
    gtk_window_present(static_cast<ui::HostWindowGtk&>(window).Gtk());
    return true;
  }

 private:
  std::unique_ptr<ui::HostGtk> host_;
  std::vector<std::unique_ptr<BoxAnswer>> answers_;
};

std::unique_ptr<HostHarness> MakeGtkHarness(std::string& whyNot) {
  std::unique_ptr<ui::HostGtk> host = gtktest::MakeTestHost(whyNot);
  if (!host) {
    if (whyNot.empty()) whyNot = "DISPLAY is not set: the GTK host needs an X server (Xvfb)";
    return nullptr;
  }
  return std::make_unique<GtkHarness>(std::move(host));
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Gtk, HostContract, testing::Values(HostUnderTest{"Gtk", MakeGtkHarness}), HostContractName);
