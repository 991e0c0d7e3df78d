#include <gtest/gtest.h>

#ifndef _WIN32
#include <memory>

#include "simulated/ScratchMachine.h"

namespace {

// Every test starts on a fresh simulated machine of its own, which goes with the test.
class FreshMachinePerTest : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo&) override { machine_ = std::make_unique<ScratchMachine>(); }
  void OnTestEnd(const testing::TestInfo&) override { machine_.reset(); }

 private:
  std::unique_ptr<ScratchMachine> machine_;
};

}  // namespace
#endif

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Death tests re-run this program; "threadsafe" keeps them sound with worker threads.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
#ifndef _WIN32
  testing::UnitTest::GetInstance()->listeners().Append(new FreshMachinePerTest);
#endif
  return RUN_ALL_TESTS();
}
