#include "WaitUntil.h"
#include "ui/HostContract.h"
#include "ui/headless/HostHeadless.h"

namespace {

// Time is virtual here: the loop moves the clock on by a millisecond a round.
class HeadlessHarness final : public HostHarness {
 public:
  ui::Host& Host() override { return host_; }
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override {
    return WaitUntil(
        [&] {
          host_.RunUntilIdle();
          if (done()) return true;
          host_.AdvanceTime(1);
          return done();
        },
        limit);
  }
  void PassTime(std::chrono::milliseconds span) override {
    host_.AdvanceTime(static_cast<int>(span.count()));
    host_.RunUntilIdle();
  }
  void AnswerNextBox(const std::wstring&, int button) override { host_.QueueMessageBoxAnswer(button); }
  bool FocusWindow(ui::HostWindow& window) override {
    ui::HostWindowHeadless* headless = host_.Window(window.Handle());
    if (headless == nullptr) return false;
    host_.Focus(headless);
    return true;
  }

 private:
  ui::HostHeadless host_;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Headless, HostContract,
                         testing::Values(HostUnderTest{"Headless",
                                                       [](std::string&) -> std::unique_ptr<HostHarness> {
                                                         return std::make_unique<HeadlessHarness>();
                                                       }}),
                         HostContractName);
