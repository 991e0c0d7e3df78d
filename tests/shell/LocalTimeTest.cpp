#include <gtest/gtest.h>

#include "shell/LocalTime.h"

TEST(LocalTime, LogPrefixIsZeroPaddedWithMilliseconds) {
  EXPECT_EQ(LogTimePrefix({9, 5, 3, 7}), L"09:05:03.007 : ");
  EXPECT_EQ(LogTimePrefix({23, 59, 59, 999}), L"23:59:59.999 : ");
  const LocalTime now = CurrentLocalTime();
  EXPECT_GE(now.hour, 0);
  EXPECT_LT(now.hour, 24);
  EXPECT_LT(now.millisecond, 1000);
}
