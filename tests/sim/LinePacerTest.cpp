// The paced line's byte schedule runs on across writes while the line is busy.
#include <gtest/gtest.h>

#include "tools/LinePacer.h"

namespace orx::sim {
namespace {

using std::chrono::milliseconds;

TEST(LinePacer, ScheduleCarriesAcrossWritesUntilTheLineIsIdle) {
  LinePacer line;
  const Clock::time_point t0 = Clock::now();
  // 1000 baud: 10 ms a byte.
  EXPECT_EQ(line.next(t0, 1000), t0 + milliseconds(10));
  EXPECT_EQ(line.next(t0, 1000), t0 + milliseconds(20));
  // A second write handed over (or a writer woken late) while the line is
  // busy queues behind the bytes before it, not one byte time after "now".
  EXPECT_EQ(line.next(t0 + milliseconds(13), 1000), t0 + milliseconds(30));
  // An idle line starts afresh.
  EXPECT_EQ(line.next(t0 + milliseconds(100), 1000), t0 + milliseconds(110));
  // 115200 baud keeps its fraction of a microsecond: 1000 bytes take 86.8 ms.
  Clock::time_point last{};
  for (int i = 0; i < 1000; ++i) last = line.next(t0 + milliseconds(200), 115200);
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(last - (t0 + milliseconds(200))).count(), 86805);
}

}  // namespace
}  // namespace orx::sim
