// The controls as the window starts them, and the status line as tests read it.
#pragma once

#include <string>

#include "base/DialogState.h"
#include "base/SharedControls.h"

namespace orx::test {

// Every list filled with its start-up entries, nothing selected.
void fillStartLists(DialogState& s);
void fillStartLists(SharedControls& controls);

std::string statusLine(const SharedControls& controls);

}  // namespace orx::test
