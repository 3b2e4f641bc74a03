#include "tests/support/StartControls.h"

#include "base/ControlIds.h"
#include "base/ControlLists.h"

namespace orx::test {

void fillStartLists(DialogState& s) {
  for (int id : lists::allListIds()) s.setItems(id, lists::initialEntries(id));
}

void fillStartLists(SharedControls& controls) {
  controls.update([](DialogState& s) { fillStartLists(s); });
}

std::string statusLine(const SharedControls& controls) {
  return controls.read([](const DialogState& s) { return s.text(ctl::StatusLine); });
}

}  // namespace orx::test
