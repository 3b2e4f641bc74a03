// How fast a log download goes and how long it still takes, from its
// progress reports. Pure arithmetic; the window supplies the clock.
#pragma once

#include <string>

namespace orx::datalog {

// Pages read before the speed is shown: the first page's reply includes the
// ESC's start-up delay, so one page alone would misstate the pace.
inline constexpr int kPacePages = 3;

// The progress text ("READ LOG DATA ...46.32%") followed, once kPacePages
// pages are in and until the end, by the speed and the time the rest of the
// ESC's memory takes at that speed: "... - 1.3 KB/s - 28 s left" (1 KB is
// 1024 bytes). `seconds` is the time since the download was asked for.
std::string progressTextWithPace(double percent, double seconds);

}  // namespace orx::datalog
