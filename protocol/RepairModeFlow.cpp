#include "protocol/RepairModeFlow.h"

#include "link/StopWait.h"
#include "protocol/FlowSteps.h"
#include "protocol/FlowTexts.h"
#include "protocol/SettingsHandlers.h"

namespace orx {

RepairOutcome runRepairModeClick(DeviceSession& session, FlowHost& host, RepairTiming timing) {
  using Clock = std::chrono::steady_clock;
  EscLinks& links = session.links;
  if (links.stm32.AdapterState != 2) return RepairOutcome::NotApplicable;

  host.controls().update([](DialogState& s) { ResetControls(s); });
  static constexpr uint8_t kEnterBootLoader[] = {0xD6, 0xD7};
  links.SendExpectAck(kEnterBootLoader);
  const auto sent = Clock::now();
  host.forgetDfuDeviceName();
  setStatus(host, flowtext::kEnteringRepair);

  bool found = host.findDfuDevice();
  while (!found && Clock::now() - sent < timing.limit) {
    if (!SleepUnlessStopped(links.stm32.stopToken(), timing.searchPause)) break;
    found = host.findDfuDevice();
  }
  if (!found) {
    setStatus(host, flowtext::kRepairNotFound);
    return RepairOutcome::NotFound;
  }
  session.DfuWaiting = true;
  setStatus(host, flowtext::kRepairEnabled);
  links.stm32.DeviceState = 1;
  host.indicatorsChanged();
  return RepairOutcome::Enabled;
}

}  // namespace orx
