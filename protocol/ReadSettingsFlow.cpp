#include "protocol/ReadSettingsFlow.h"

#include <algorithm>

#include "base/ControlIds.h"
#include "protocol/BlockFrame.h"
#include "protocol/Cp210xProtocol.h"
#include "protocol/FlowSteps.h"
#include "protocol/FlowTexts.h"
#include "protocol/SettingsBlockCodec.h"
#include "protocol/SettingsDumpCodec.h"
#include "protocol/Stm32Protocol.h"

namespace orx {

namespace {

constexpr int kMonitorMs = 500;
constexpr int kAfterNvqReadMs = 800;
constexpr int kDumpPauseMs = 10;

const char* finalReadStatus(const DeviceSession& session) {
  return session.DefaultsRequested ? flowtext::kDefaultsUpdated : flowtext::kReadCompleted;
}

ReadOutcome stm32Failure(DeviceSession& session, FlowHost& host) {
  host.restartMonitor(kMonitorMs);
  session.links.stm32.DeviceState = 1;
  host.indicatorsChanged();
  return ReadOutcome::Failed;
}

bool restoreDefaults(DeviceSession& session) {
  if (session.links.stm32.DeviceState == 2) return stm32::RestoreDefaults(session.links.stm32);
  if (session.links.cp210x.DeviceState == 2) return cp210x::RestoreDefaults(session.links);
  return false;
}

}  // namespace

ReadOutcome runReadSettings(DeviceSession& session, FlowHost& host) {
  session.DefaultsRequested = false;
  return runReadOrDefault(session, host);
}

ReadOutcome runReadOrDefault(DeviceSession& session, FlowHost& host) {
  const Precondition p = checkPreconditions(session, host);
  if (p != Precondition::Ok) {
    showPreconditionBox(host, p, flowtext::repairCheckedRead());
    return ReadOutcome::Refused;
  }
  session.links.Purge();
  if (session.DefaultsRequested && !restoreDefaults(session)) {
    setStatus(host, flowtext::kDefaultsFailed);
    return ReadOutcome::DefaultsFailed;
  }
  return runSettingsRead(session, host);
}

ReadOutcome runSettingsRead(DeviceSession& session, FlowHost& host) {
  if (session.links.stm32.DeviceState == 2) return runStm32Read(session, host);
  if (session.links.cp210x.DeviceState == 2) return runCp210xRead(session, host);
  return ReadOutcome::Refused;
}

ReadOutcome runStm32Read(DeviceSession& session, FlowHost& host) {
  ST32UsbUart& link = session.links.stm32;
  host.controls().update([](DialogState& s) { refillNvqLists(s); });

  if (session.DefaultsAfterUpdate && link.DeviceState == 2) {
    if (!stm32::RestoreDefaults(link)) {
      setStatus(host, flowtext::kDefaultsFailed);
      return stm32Failure(session, host);
    }
    session.DefaultsRequested = true;
    session.DefaultsAfterUpdate = false;
  }

  const Stm32Identity id = stm32::Identify(link);
  if (!id.answered) return stm32Failure(session, host);
  setText(host, ctl::FirmwareVersion, id.versionText);
  session.hardwareCode = id.hardwareCode;
  host.indicatorsChanged();

  const auto mcuId = stm32::ReadMcuId(link);
  if (!mcuId) return stm32Failure(session, host);
  setText(host, ctl::McuId, *mcuId);

  const bool layoutFlag = id.LayoutFlag;
  const int length = stm32::BlockLength(link, layoutFlag);
  const stm32::BlockRead read = stm32::ReadBlock(link, length);
  if (!read.written) return stm32Failure(session, host);

  const ReceivedBlock received = BlockFromReply(read.reply, layoutFlag);
  EscSettings& kept = session.kept;
  kept.block.fill(0);
  std::copy_n(received.block.begin(), std::min(received.block.size(), kept.block.size()), kept.block.begin());
  kept.length = received.count;
  kept.LayoutFlag = layoutFlag;

  setStatus(host, "");
  stepProgress(host, {0, 10, 20, 30, 40, 50});
  const bool valid = host.controls().update([&](DialogState& s) { return decodeSettingsBlock(s, kept); });
  if (!valid) {
    setProgress(host, 0);
    return stm32Failure(session, host);
  }
  stepProgress(host, {60, 70, 80, 90, 100});
  host.restartMonitor(kAfterNvqReadMs);
  setStatus(host, finalReadStatus(session));
  session.DefaultsRequested = false;
  return ReadOutcome::Completed;
}

ReadOutcome runCp210xRead(DeviceSession& session, FlowHost& host) {
  EscLinks& links = session.links;
  // The ESC's settling second comes before the status line is emptied, so the
  // outcome of what came before (e.g. "FIRMWARE UPDATED") stays readable for it.
  links.cp210x.BusyWait(1000);
  host.controls().update([](DialogState& s) { prepareCp210xRead(s); });
  links.ReplyBuffer.fill(0);

  switch (cp210x::Ping(links, cp210x::kPingMs)) {
    case cp210x::PingResult::Answered:
    case cp210x::PingResult::OtherReply: break;
    case cp210x::PingResult::NoReply:
    case cp210x::PingResult::LinkLost: host.restartMonitor(kMonitorMs); return ReadOutcome::NoReply;
  }

  const cp210x::DumpResult dump = cp210x::DumpSettings(links, [&](size_t index, uint8_t) {
    host.controls().update([&](DialogState& s) {
      s.setText(ctl::StatusLine, dumpProgressText(index));
      s.setValue(ctl::Progress, dumpProgressValue(index));
    });
    links.cp210x.BusyWait(kDumpPauseMs);
  });
  if (!dump.answered) {
    host.restartMonitor(kMonitorMs);
    return ReadOutcome::NoReply;
  }

  host.controls().update([&](DialogState& s) { decodeSettingsDump(s, dump.bytes); });
  host.restartMonitor(kMonitorMs);
  setStatus(host, finalReadStatus(session));
  session.DefaultsRequested = false;
  return ReadOutcome::Completed;
}

}  // namespace orx
