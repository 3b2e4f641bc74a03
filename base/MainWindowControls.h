// The main window's controls and menu as a table: what kind of widget each id
// is and the text it starts with. The widgets are built from it and the
// start-up state is written from it, so the two cannot drift apart.
#pragma once

#include <vector>

#include "base/DialogState.h"

namespace orx {

enum class ControlKind {
  Static,        // label whose text the program sets
  Indicator,     // adapter / device square; `checked` = green
  PushButton,
  CheckBox,
  Radio,         // one of a pair; the window keeps the pair exclusive itself
  DropList,
  Edit,
  ReadOnlyEdit,  // the status line
  Progress,
  InfoButton,    // bitmap button with a tool tip
};

struct ControlInfo {
  int id;
  ControlKind kind;
  const char* text;  // Windows-1252 text at start-up
};

// Every control of the main window that carries behaviour.
const std::vector<ControlInfo>& mainWindowControls();
// nullptr for an id the window does not have.
const ControlInfo* findControl(int id);
// The controls as the program starts: texts, list entries, the disabled
// fields and both squares red.
void WriteInitialControls(DialogState& s);
// The other button of a radio pair; 0 when id is not in a pair.
int radioPartner(int id);

struct MenuItem {
  int id;
  const char* menu;  // "File", "Options", "Help"
  const char* text;
  bool separatorBefore = false;
};

// Menu 131, in menu order.
const std::vector<MenuItem>& mainWindowMenu();

// Tool tips of the two information buttons.
inline constexpr const char* kStartingResponseTip = "Start-up Response (%/100ms)";
inline constexpr const char* kRunningResponseTip = "Running Response (%/100ms)";

}  // namespace orx
