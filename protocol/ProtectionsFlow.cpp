#include "protocol/ProtectionsFlow.h"

#include "base/ControlIds.h"
#include "protocol/Cp210xProtocol.h"

namespace orx {

namespace {

constexpr int kMonitorMs = 500;
constexpr uint8_t kActivated = 0xAA;

// The records travel only over the CP210x line; on the STM32 link the generic
// operations would talk to an NVQ series ESC that has no such command.
bool onCp210xLink(const DeviceSession& session) { return session.links.ActiveLink == EscLinks::kCp210x; }

void clearCollection(DeviceSession& session) {
  session.links.cp210x.clearReceiveBuffer();
  session.links.ReplyBuffer.fill(0);
}

}  // namespace

ProtectionStates ProtectionStatesFrom(const std::vector<uint8_t>& bytes) {
  ProtectionStates states{};
  for (size_t i = 0; i < kProtectionCount; ++i) {
    if (i >= bytes.size()) {
      states[i] = ProtectionState::NotRead;
    } else {
      states[i] = bytes[i] == kActivated ? ProtectionState::Activated : ProtectionState::Clear;
    }
  }
  return states;
}

bool ProtectionsWindowAllowed(const std::string& firmwareVersionText) {
  return !firmwareVersionText.empty() && (firmwareVersionText[0] == 'A' || firmwareVersionText[0] == 'B');
}

ProtectionsRead runReadProtections(DeviceSession& session, FlowHost& host) {
  ProtectionsRead read;
  if (!onCp210xLink(session)) {
    host.restartMonitor(kMonitorMs);
    return read;
  }
  clearCollection(session);
  const cp210x::ProtectionsResult r = cp210x::ReadProtections(session.links);
  if (r.answered) {
    read.answered = true;
    read.bytes = r.bytes;
    read.states = ProtectionStatesFrom(r.bytes);
    host.controls().update([](DialogState& s) { s.setValue(ctl::Progress, 100); });
  }
  host.restartMonitor(kMonitorMs);
  return read;
}

ProtectionsRead runClearProtections(DeviceSession& session, FlowHost& host) {
  if (!onCp210xLink(session)) {
    host.restartMonitor(kMonitorMs);
    return {};
  }
  clearCollection(session);
  const cp210x::ProtectionsResult r = cp210x::ClearProtections(session.links);
  if (!r.answered) {
    host.restartMonitor(kMonitorMs);
    return {};
  }
  if (cp210x::ProtectionsCleared(r)) host.prompter().ask(protectionsClearedBox());
  return runReadProtections(session, host);
}

}  // namespace orx
