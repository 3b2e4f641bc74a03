#include <gtest/gtest.h>

#include "datalog/DownloadPace.h"

namespace orx::datalog {
namespace {

TEST(DownloadPace, SpeedAndTimeLeftFollowThePercentageOnceThreePagesAreIn) {
  EXPECT_EQ(progressTextWithPace(46.32, 23), "READ LOG DATA ...46.32% - 1.3 KB/s - 27 s left");
  EXPECT_EQ(progressTextWithPace(3, 10), "READ LOG DATA ...3.00% - 0.2 KB/s - 5 min 24 s left");
  EXPECT_EQ(progressTextWithPace(1, 10), "READ LOG DATA ...1.00%");  // two and a half pages
  EXPECT_EQ(progressTextWithPace(100, 50), "READ LOG DATA ...100.00%");
  EXPECT_EQ(progressTextWithPace(50, 0), "READ LOG DATA ...50.00%");  // no download clock
}

}  // namespace
}  // namespace orx::datalog
