// How the three answers about Windows protected print mode make one, in both builds.
#include <gtest/gtest.h>

#include <optional>

#include "engine/spooler/ProtectedPrintMode.h"

namespace {

std::string Source(const ProtectedPrintMode& mode) {
  return ProtectedPrintSourceName(mode.source);
}

}  // namespace

TEST(ProtectedPrintModeRule, EachSourceAloneAndNone) {
  const auto none = CombineProtectedPrintAnswers(std::nullopt, std::nullopt, std::nullopt);
  EXPECT_FALSE(none.enabled);
  EXPECT_EQ(Source(none), "none");
  EXPECT_FALSE(none.runtimeQueryAvailable);

  const auto runtime = CombineProtectedPrintAnswers(true, std::nullopt, std::nullopt);
  EXPECT_TRUE(runtime.enabled);
  EXPECT_EQ(Source(runtime), "runtime query");
  EXPECT_TRUE(runtime.runtimeQueryAvailable);

  const auto policy = CombineProtectedPrintAnswers(std::nullopt, 1u, std::nullopt);
  EXPECT_TRUE(policy.enabled);
  EXPECT_EQ(Source(policy), "group policy");

  const auto settings = CombineProtectedPrintAnswers(std::nullopt, std::nullopt, 1u);
  EXPECT_TRUE(settings.enabled);
  EXPECT_EQ(Source(settings), "settings page");
}

TEST(ProtectedPrintModeRule, APolicySetToOffOverrulesTheSettingsPageAndAnswersOfOffStayOff) {
  EXPECT_FALSE(CombineProtectedPrintAnswers(std::nullopt, 0u, 1u).enabled);
  EXPECT_FALSE(CombineProtectedPrintAnswers(false, std::nullopt, 0u).enabled);
  EXPECT_FALSE(CombineProtectedPrintAnswers(std::nullopt, std::nullopt, 2u).enabled) << "only 1 means on";
  // A runtime that says off does not hide a policy that says on: a stale answer costs a
  // warning, a missed one a bare error code.
  const auto policyOverRuntime = CombineProtectedPrintAnswers(false, 1u, std::nullopt);
  EXPECT_TRUE(policyOverRuntime.enabled);
  EXPECT_EQ(Source(policyOverRuntime), "group policy");
  EXPECT_TRUE(policyOverRuntime.runtimeQueryAvailable);
  EXPECT_EQ(Source(CombineProtectedPrintAnswers(true, 1u, 1u)), "runtime query");
}
