#include "protocol/UseTimeFlow.h"

#include "base/Format.h"
#include "protocol/Stm32Protocol.h"

namespace orx {

namespace {

constexpr int kMonitorMs = 500;
constexpr uint8_t kOtherAnswer = 0x53;

bool onStm32Link(DeviceSession& session, FlowHost& host) {
  if (session.links.ActiveLink == EscLinks::kStm32) return true;
  host.prompter().ask(notNvqEscBox());
  return false;
}

// The use-time flag lets the generic receive take a zero buffer; it must not
// outlive this read, whatever path leaves it.
struct UseTimeFlag {
  explicit UseTimeFlag(EscLinks& l) : links(l) { links.useTimeReadRunning = true; }
  ~UseTimeFlag() { links.useTimeReadRunning = false; }
  EscLinks& links;
};

}  // namespace

std::string UseTimeText(unsigned hours, unsigned minutes) { return strprintf("%uh : %02um", hours, minutes); }

std::optional<std::string> UseTimeFromReply(std::span<const uint8_t> reply, size_t bytesCame) {
  if (reply.size() < kUseTimeReplySize || bytesCame < kUseTimeReplySize) return std::nullopt;
  if (reply[0] == kOtherAnswer) return std::nullopt;
  const unsigned hours = reply[1] | (static_cast<unsigned>(reply[2]) << 8);
  return UseTimeText(hours, reply[0]);
}

UseTimeResult runQueryUseTime(DeviceSession& session, FlowHost& host, std::string& lastText, int settleMs) {
  UseTimeResult result;
  if (!onStm32Link(session, host)) {
    result.outcome = UseTimeOutcome::WrongLink;
    result.text = lastText;
    return result;
  }
  EscLinks& links = session.links;
  ST32UsbUart& link = links.stm32;
  {
    UseTimeFlag flag(links);
    link.clearReceiveBuffer();
    const bool written = stm32::ReadUseTime(link);
    // How many bytes the request's own read took; the wait below reads nothing.
    const size_t came = written ? link.bytesRead() : 0;
    link.BusyWait(settleMs);
    links.ReceiveReply(kUseTimeReplySize, 1000);
    if (auto text = UseTimeFromReply(link.receiveBuffer(), came)) {
      lastText = *text;
      result.outcome = UseTimeOutcome::Read;
    }
  }
  result.text = lastText;
  host.restartMonitor(kMonitorMs);
  return result;
}

UseTimeResetOutcome runClearUseTime(DeviceSession& session, FlowHost& host) {
  if (!onStm32Link(session, host)) return UseTimeResetOutcome::WrongLink;
  session.links.stm32.clearReceiveBuffer();
  const bool sent = stm32::ResetUseTime(session.links.stm32);
  host.restartMonitor(kMonitorMs);
  return sent ? UseTimeResetOutcome::Sent : UseTimeResetOutcome::WriteFailed;
}

}  // namespace orx
