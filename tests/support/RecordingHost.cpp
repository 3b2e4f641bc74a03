#include "tests/support/RecordingHost.h"

#include "base/ControlIds.h"
#include "tests/support/StartControls.h"

namespace orx::test {

bool RecordingHost::findDfuDevice() {
  ++dfuSearches;
  return dfuFound ? dfuFound() : false;
}

DialogState RecordingHost::snapshot() const {
  return shared.read([](const DialogState& s) { return s; });
}

std::string RecordingHost::text(int id) const {
  return shared.read([id](const DialogState& s) { return s.text(id); });
}

std::string RecordingHost::status() const { return statusLine(shared); }

bool RecordingHost::checked(int id) const {
  return shared.read([id](const DialogState& s) { return s.checked(id); });
}

bool RecordingHost::enabled(int id) const {
  return shared.read([id](const DialogState& s) { return s.enabled(id); });
}

int RecordingHost::progress() const {
  return shared.read([](const DialogState& s) { return s.value(ctl::Progress); });
}

void RecordingHost::setRepairMode(bool ticked) {
  shared.update([ticked](DialogState& s) { s.setChecked(ctl::RepairMode, ticked); });
}

}  // namespace orx::test
