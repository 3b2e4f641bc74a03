// REPAIR MODE (check box 1067): sends an NVQ series ESC into its USB boot
// loader and waits for it to show up as a DFU device. Runs as a job on the
// link worker; the window has already toggled the box.
#pragma once

#include <chrono>

#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx {

enum class RepairOutcome {
  NotApplicable,  // no NVQ series port open: nothing done
  Enabled,        // a DFU device showed up: "Repair Mode Enabled"
  NotFound,       // none within the time limit, or stopped: the status says so
};

struct RepairTiming {
  std::chrono::milliseconds limit{10000};     // from the boot loader command on
  std::chrono::milliseconds searchPause{100}; // between two DFU searches
};

RepairOutcome runRepairModeClick(DeviceSession& session, FlowHost& host, RepairTiming timing = {});

}  // namespace orx
