#include "protocol/DefaultsFlow.h"

#include "protocol/FlowSteps.h"
#include "protocol/FlowTexts.h"

namespace orx {

namespace {

constexpr int kPingAttempts = 6;
constexpr int kPingWaitMs = 100;
constexpr int kPingReplyMs = 2000;
constexpr int kConfirmAttempts = 11;
constexpr int kConfirmMs = 500;

void waitOnActiveLink(EscLinks& links, int ms) {
  if (links.ActiveLink == EscLinks::kStm32) {
    links.stm32.BusyWait(ms);
  } else {
    links.cp210x.BusyWait(ms);
  }
}

}  // namespace

ReadOutcome runDefaultSettings(DeviceSession& session, FlowHost& host) {
  session.DefaultsRequested = true;
  return runReadOrDefault(session, host);
}

AfterUpdateOutcome runDefaultsAfterUpdate(DeviceSession& session, FlowHost& host) {
  EscLinks& links = session.links;
  links.Purge();

  bool answered = false;
  for (int attempt = 0; attempt < kPingAttempts && !answered; ++attempt) {
    links.forgetReplyByte();
    links.SendCommand(0xD4);
    waitOnActiveLink(links, kPingWaitMs);
    answered = Received(links.ReceiveReply(2, kPingReplyMs)) && links.ReplyBuffer[0] == 0xD5;
  }
  bool confirmed = false;
  if (answered) {
    links.forgetReplyByte();
    links.SendCommand(0xDE);
    for (int attempt = 0; attempt < kConfirmAttempts && !confirmed; ++attempt) {
      confirmed = Received(links.ReceiveReply(1, kConfirmMs)) && links.ReplyBuffer[0] == 1;
    }
  }
  // The read follows either way, so the window shows what the updated ESC
  // holds; after unconfirmed defaults it ends with the failure again.
  if (!confirmed) {
    session.DefaultsRefused = true;
    setStatus(host, flowtext::kDefaultsFailed);
  }
  host.postSettingsRead();
  if (confirmed) return AfterUpdateOutcome::ReadPosted;
  return answered ? AfterUpdateOutcome::DefaultsFailed : AfterUpdateOutcome::Silent;
}

}  // namespace orx
