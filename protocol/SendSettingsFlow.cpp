#include "protocol/SendSettingsFlow.h"

#include <optional>

#include "base/ControlIds.h"
#include "base/Format.h"
#include "protocol/BlockFrame.h"
#include "protocol/Cp210xSendPlan.h"
#include "protocol/FlowSteps.h"
#include "protocol/FlowTexts.h"
#include "protocol/SettingsBlockCodec.h"
#include "protocol/Stm32Protocol.h"

namespace orx {

namespace {

constexpr int kMonitorMs = 500;
constexpr int kValueAckMs = 500;

uint8_t rawHardwareByte(const DeviceSession& session) { return session.rawHardwareByte; }

enum class ReadBack { Sound, Unsound, LinkLost };

// The ESC's read-back replaces the kept block once the write succeeded. One
// that is not the block asked for (silence, another count, a wrong sum) sets
// the block length to 0, so no later send is built from it before the next read.
ReadBack readBack(DeviceSession& session, bool written) {
  EscSettings& kept = session.kept;
  const stm32::BlockRead read = stm32::ReadBlock(session.links.stm32, kept.length);
  const auto& r = read.reply;
  if (!read.written || !BlockReplySound(r, kept.LayoutFlag, kept.length)) {
    kept.length = 0;
    return read.written ? ReadBack::Unsound : ReadBack::LinkLost;
  }
  const int count = kept.length;
  if (!written) return ReadBack::Sound;
  if (kept.LayoutFlag) {
    if (count < kExtendedBlockLength) return ReadBack::Sound;
    for (int pos = 2; pos <= count - 2; ++pos) kept.block[pos] = r[pos];
  } else {
    if (count != kShortBlockLength) return ReadBack::Sound;
    for (int i = 1; i <= kShortBlockLength; ++i) kept.block[i - 1] = r[i];
  }
  return ReadBack::Sound;
}

void applyProgress(FlowHost& host, int value) {
  if (value >= 0) setProgress(host, value);
}

bool acknowledged(const EscLinks& links) { return links.ReplyBuffer[0] == 1; }

// One Command step: false when its required acknowledgement is missing.
bool runCommand(EscLinks& links, FlowHost& host, const SendStep& step) {
  applyProgress(host, step.progressBefore);
  if (step.enable) {
    host.controls().update([&](DialogState& s) { s.setEnabled(step.enable->id, step.enable->enabled); });
  }
  // A setting the ESC has no code for is skipped, not judged.
  if (step.bytes.empty()) return true;
  links.forgetReplyByte();
  if (step.bytes.size() == 1) {
    links.SendCommand(step.bytes[0]);
  } else {
    links.SendExpectAck(step.bytes);
  }
  applyProgress(host, step.progressAfterSend);
  links.ReceiveReply(1, kValueAckMs);
  applyProgress(host, step.progressAfterReceive);
  return !step.ackRequired || acknowledged(links);
}

}  // namespace

SendOutcome runSendSettings(DeviceSession& session, FlowHost& host) {
  const Precondition p = checkPreconditions(session, host);
  if (p != Precondition::Ok) {
    showPreconditionBox(host, p, flowtext::repairCheckedSend());
    return SendOutcome::Refused;
  }
  const uint8_t raw = rawHardwareByte(session);
  const auto refusal = host.controls().read([&](const DialogState& s) { return j7qxRefusal(s, raw); });
  if (refusal) {
    host.prompter().ask(*refusal);
    return SendOutcome::Refused;
  }
  if (session.nvqAnswering()) return runStm32Send(session, host);
  return runCp210xSend(session, host);
}

SendOutcome runStm32Send(DeviceSession& session, FlowHost& host) {
  setStatus(host, "");
  stepProgress(host, {0, 10, 20, 30, 40, 50});
  if (session.kept.length == 0) {
    host.restartMonitor(kMonitorMs);
    return SendOutcome::NoBlock;
  }

  const BlockEncoding encoding =
      host.controls().update([&](DialogState& s) { return encodeSettingsBlock(s, session.kept); });
  switch (encoding.status) {
    case BlockEncodeStatus::Ok: break;
    case BlockEncodeStatus::RangeIncorrect:
      setStatus(host, kRangeIncorrectStatus);
      host.restartMonitor(kMonitorMs);
      return SendOutcome::RangeIncorrect;
    case BlockEncodeStatus::AdcGainFormat:
    case BlockEncodeStatus::AdcOffsetFormat:
    case BlockEncodeStatus::AdcGainNotPositive:
      if (auto box = blockEncodeMessage(encoding.status)) host.prompter().ask(*box);
      host.restartMonitor(kMonitorMs);
      return SendOutcome::AdcRefused;
  }

  const std::vector<uint8_t> frame = settingsWriteFrame(encoding.settings);
  bool written = false;
  bool linkLost = false;
  switch (stm32::WriteBlock(session.links.stm32, frame, encoding.settings.LayoutFlag)) {
    case stm32::WriteBlockResult::Acknowledged:
      written = true;
      setStatus(host, flowtext::kSettingsUpdated);
      break;
    case stm32::WriteBlockResult::WriteFailed: linkLost = true; break;
    case stm32::WriteBlockResult::Refused:
    case stm32::WriteBlockResult::NothingToSend: break;
  }

  const ReadBack back = readBack(session, written);
  linkLost = linkLost || back == ReadBack::LinkLost;
  if (written && back == ReadBack::Sound) {
    const uint8_t node = session.kept.d(38);
    setText(host, ctl::EscId, node == 1 ? std::string("---") : strprintf("%02d", node));
    stepProgress(host, {60, 70, 80, 90, 100});
    host.restartMonitor(kMonitorMs);
    return SendOutcome::Updated;
  }

  // Not confirmed, or not read back: said on the status line, the bar back at
  // 0 and the ESC ID left as it was, instead of a send that looks done.
  setStatus(host, written ? flowtext::kReadFailed : flowtext::kSendFailed);
  setProgress(host, 0);
  if (back != ReadBack::Sound) {
    // As after a failed read: the next answered probe reads the block again.
    session.links.stm32.DeviceState = 1;
    host.indicatorsChanged();
  }
  if (linkLost) host.prompter().ask(flowtext::deviceConnectionError());
  host.restartMonitor(kMonitorMs);
  return written ? SendOutcome::ReadBackFailed : SendOutcome::NotConfirmed;
}

SendOutcome runCp210xSend(DeviceSession& session, FlowHost& host) {
  EscLinks& links = session.links;
  const uint8_t raw = rawHardwareByte(session);
  const std::vector<SendStep> plan =
      host.controls().read([&](const DialogState& s) { return cp210xSendPlan(s, raw); });

  for (const SendStep& step : plan) {
    switch (step.op) {
      case SendOp::Status:
        if (!step.status.empty()) setStatus(host, step.status);
        applyProgress(host, step.progressBefore);
        break;
      case SendOp::Command:
        if (!runCommand(links, host, step)) {
          setStatus(host, failureStatus(step));
          host.restartMonitor(kMonitorMs);
          return SendOutcome::StepFailed;
        }
        break;
      case SendOp::BusyWait:
        links.cp210x.BusyWait(step.waitMs);
        applyProgress(host, step.progressAfterReceive);
        break;
      case SendOp::Stop:
        setStatus(host, step.status);
        host.restartMonitor(kMonitorMs);
        return SendOutcome::RangeIncorrect;
      case SendOp::ClearRangeReset:
        host.controls().update([](DialogState& s) { s.flags.RangeResetPending = false; });
        break;
    }
  }
  host.restartMonitor(kMonitorMs);
  return SendOutcome::Updated;
}

}  // namespace orx
