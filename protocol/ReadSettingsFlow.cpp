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
// Reads that may ask an updated ESC for its defaults before reading it anyway.
constexpr int kDefaultsAfterUpdateAttempts = 3;
// Reads in a row without an Identify answer before the status line says so.
constexpr int kSilentIdentifyLimit = 3;

// The last step of every completed read: its status text, flags cleared.
void endCompletedRead(DeviceSession& session, FlowHost& host) {
  const char* text = session.DefaultsRefused     ? flowtext::kDefaultsFailed
                     : session.DefaultsRequested ? flowtext::kDefaultsUpdated
                                                 : flowtext::kReadCompleted;
  setStatus(host, text);
  session.DefaultsRequested = false;
  session.DefaultsRefused = false;
}

// DefaultsAfterUpdate on an answering ESC. False when the read should end as a
// failure and be tried again by the next probe. An ESC that never confirms is
// not asked on every tick for ever: after a few refusals the read goes on and
// ends with "DEFAULT SETTINGS FAILED".
bool defaultsAfterUpdate(DeviceSession& session) {
  if (stm32::RestoreDefaults(session.links.stm32)) {
    session.DefaultsRequested = true;
  } else if (++session.DefaultsAfterUpdateRefusals < kDefaultsAfterUpdateAttempts) {
    return false;
  } else {
    session.DefaultsRefused = true;
  }
  session.DefaultsAfterUpdate = false;
  session.DefaultsAfterUpdateRefusals = 0;
  return true;
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
  // DefaultsRequested stays set only once the ESC confirmed the defaults, so a
  // later read never reports defaults that were refused or never sent.
  const Precondition p = checkPreconditions(session, host);
  if (p != Precondition::Ok) {
    session.DefaultsRequested = false;
    showPreconditionBox(host, p, flowtext::repairCheckedRead());
    return ReadOutcome::Refused;
  }
  session.links.Purge();
  if (session.DefaultsRequested && !restoreDefaults(session)) {
    session.DefaultsRequested = false;
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

  if (session.DefaultsAfterUpdate && link.DeviceState == 2 && !defaultsAfterUpdate(session)) {
    return stm32Failure(session, host);
  }

  const Stm32Identity id = stm32::Identify(link);
  if (!id.answered) {
    // It answers the probe but not this: without a word it would look
    // connected, with blank settings, on every tick.
    if (++session.SilentIdentifyReads >= kSilentIdentifyLimit) setStatus(host, flowtext::kEscNotAnswering);
    return stm32Failure(session, host);
  }
  session.SilentIdentifyReads = 0;
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

  EscSettings& kept = session.kept;
  // A block with another count or a wrong sum is not this ESC's block: shown,
  // it would fill the controls with noise; kept, the next send would write a
  // frame of the wrong length back.
  if (!BlockReplySound(read.reply, layoutFlag, length)) {
    kept.length = 0;
    return stm32Failure(session, host);
  }
  const ReceivedBlock received = BlockFromReply(read.reply, layoutFlag);
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
  endCompletedRead(session, host);
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

  // A dump that stops before the positions the decoding reads would leave
  // those controls blank, or as an earlier ESC left them, and a send would
  // then write them to this one.
  if (dump.bytes.size() < kCp210xDumpLength) {
    setStatus(host, flowtext::kReadFailed);
    setProgress(host, 0);
    host.restartMonitor(kMonitorMs);
    return ReadOutcome::Failed;
  }
  host.controls().update([&](DialogState& s) { decodeSettingsDump(s, dump.bytes); });
  host.restartMonitor(kMonitorMs);
  endCompletedRead(session, host);
  return ReadOutcome::Completed;
}

}  // namespace orx
