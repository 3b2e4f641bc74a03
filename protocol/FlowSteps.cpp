#include "protocol/FlowSteps.h"

#include "base/ControlIds.h"
#include "protocol/FlowTexts.h"

namespace orx {

Precondition checkPreconditions(const DeviceSession& session, FlowHost& host) {
  if (repairModeTicked(host)) return Precondition::RepairModeTicked;
  if (!session.adapterOpen()) return Precondition::NoAdapter;
  if (!session.deviceAnswering()) return Precondition::NoDevice;
  return Precondition::Ok;
}

void showPreconditionBox(FlowHost& host, Precondition p, const Message& repairBox) {
  switch (p) {
    case Precondition::Ok: return;
    case Precondition::RepairModeTicked: host.prompter().ask(repairBox); return;
    case Precondition::NoAdapter:
      host.prompter().ask(flowtext::adapterConnectionError());
      return;
    case Precondition::NoDevice:
      host.prompter().ask(flowtext::deviceConnectionError());
      return;
  }
}

bool repairModeTicked(FlowHost& host) {
  return host.controls().read([](const DialogState& s) { return s.checked(ctl::RepairMode); });
}

void setStatus(FlowHost& host, const std::string& text) {
  host.controls().update([&](DialogState& s) { s.setText(ctl::StatusLine, text); });
}

void setProgress(FlowHost& host, int value) {
  host.controls().update([&](DialogState& s) { s.setValue(ctl::Progress, value); });
}

void stepProgress(FlowHost& host, std::initializer_list<int> values) {
  for (int v : values) setProgress(host, v);
}

void setText(FlowHost& host, int controlId, const std::string& text) {
  host.controls().update([&](DialogState& s) { s.setText(controlId, text); });
}

void showCp210xIdentity(DeviceSession& session, FlowHost& host, const Cp210xIdentity& id) {
  if (id.answered) {
    session.hardwareCode = id.hardwareCode;
    session.rawHardwareByte = id.raw[2];
  }
  host.controls().update([&](DialogState& s) {
    s.setText(ctl::FirmwareVersion, id.versionText);
    s.setEnabled(ctl::MotorEdition, id.answered && id.hardwareCode == 11);
  });
}

}  // namespace orx
