#include <gtest/gtest.h>

#include <string>

#include "base/SystemResult.h"

namespace {

TEST(SystemResult, CarriesEitherTheValueOrTheFailuresCode) {
  const SystemResult<std::wstring> found(std::wstring(L"C:\\spool\\"));
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, L"C:\\spool\\");
  EXPECT_EQ(found.Error(), 0u);

  const SystemResult<std::wstring> refused(SystemOutcome::Failure(1805));
  EXPECT_FALSE(refused);
  EXPECT_EQ(refused.Error(), 1805u);
  EXPECT_EQ(refused.ValueOr(L"-"), L"-");

  // A success without a value cannot pass for one: there is nothing to read.
  const SystemResult<int> empty{SystemOutcome()};
  EXPECT_FALSE(empty);
  EXPECT_EQ(empty.Error(), kErrorGenFailure);
}

}  // namespace
