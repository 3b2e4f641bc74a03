// The link worker's one stop request, as every wait on its thread sees it.
//
// The worker owns a std::stop_source; its token reaches the links (timed reads,
// BusyWait) and every pause a flow takes. Closing the window requests the stop:
// each wait then ends at once and reports that it was stopped, so the running
// job ends at its next wait. A write already started is finished, never cut.
#pragma once

#include <chrono>
#include <stop_token>

namespace orx {

// Sleeps `ms`, ending early when a stop is requested. True when the whole
// time passed, false when stopped (also when stopped before the call).
bool SleepUnlessStopped(const std::stop_token& stop, std::chrono::milliseconds ms);

}  // namespace orx
