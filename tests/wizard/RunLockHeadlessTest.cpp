// The install wizard and another run holding the machine's installation lock (another
// wizard, the console program): Next on the summary tells the user and leaves everything as
// it was; once the other run has ended the same press starts the run, whose worker holds
// the lock until it has finished.
#include <chrono>

#include "InstallWizardHarness.h"
#include "WaitUntil.h"
#include "engine/spooler/InstallationLock.h"
#include "shell/ProgramMessageBox.h"

using wizardtest::InstallWizard;

namespace {

constexpr wchar_t kAnotherRun[] =
    L"Another installation or removal of this printer driver is running on this computer. Wait until it has "
    L"finished, then try again.";

TEST_F(InstallWizard, AnotherRunHoldingTheLockKeepsTheSummaryAndStartsNothing) {
  Open();
  for (int press = 0; press < 5; ++press) Next();  // COM: kinds, model, ports, name, summary
  ASSERT_EQ(InstallPanel(), 8);
  const int position = Context().position;
  const MachineState before = Machine().Snapshot();
  const size_t boxes = host_->MessageBoxes().size();
  {
    const InstallationLock other = InstallationLock::TryAcquire();
    ASSERT_TRUE(other.Held());
    Next();
    ASSERT_EQ(host_->MessageBoxes().size(), boxes + 1);
    ExpectProgramBox(host_->MessageBoxes().back(), kAnotherRun, 0x40u);
    EXPECT_EQ(InstallPanel(), 8);
    EXPECT_EQ(Context().position, position);
    EXPECT_TRUE(NextShown());
    EXPECT_TRUE(Find(L"btn_setup_previous")->IsShownInTree());
    EXPECT_FALSE(Find(L"hor_btn_h1")->IsVisible());
    const MachineState after = Machine().Snapshot();
    EXPECT_EQ(after.printers.size(), before.printers.size());
    EXPECT_EQ(after.drivers.size(), before.drivers.size());
    EXPECT_EQ(after.ports.size(), before.ports.size());
  }

  // The worker waits for the window to take its first line, so the run is still going here.
  ASSERT_TRUE(host_->ClickControl(Window(), L"btn_setup_next"));
  EXPECT_EQ(InstallPanel(), 9);
  EXPECT_FALSE(InstallationLock::TryAcquire().Held()) << "the run holds the lock";
  auto* finishRow = Find(L"hor_btn_h1");
  ASSERT_TRUE(WaitUntil(
      [&] {
        host_->RunUntilIdle();
        return finishRow->IsVisible();
      },
      std::chrono::seconds(30)));
  EXPECT_EQ(host_->MessageBoxes().size(), boxes + 1);
  EXPECT_EQ(Machine().Snapshot().printers.count(L"quorvela4-300"), 1u);
  // The worker's last messages wait for the window; then it lets go of the lock.
  EXPECT_TRUE(WaitUntil([&] {
    host_->RunUntilIdle();
    return InstallationLock::TryAcquire().Held();
  })) << "released when the worker ended";
}

}  // namespace
