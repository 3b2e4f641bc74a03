// What the main window does when the user changes a settings control, on the
// controls model only: the window runs these for user changes, never for
// values a read or a file load writes.
#pragma once

#include <optional>

#include "base/DialogState.h"
#include "base/Messages.h"
#include "protocol/EscSettings.h"

namespace orx {

struct HandlerOutcome {
  std::optional<Message> message;  // box to show, if any
  int moveFocusTo = 0;             // control to focus afterwards, 0 for none
};

void OnCalibrationModeChange(DialogState& s);  // 1061, ends with ClearStatus
// 1063; nvqAnswering: the active link is the STM32 link and its ESC answers.
void OnMotorEditionChange(DialogState& s, const EscSettings& kept, bool nvqAnswering);
void OnFixedClick(DialogState& s, const EscSettings& kept);  // 1073
HandlerOutcome OnRangeMinFocusLost(DialogState& s);          // 1065
HandlerOutcome OnRangeMaxFocusLost(DialogState& s);          // 1064
HandlerOutcome OnThrottleResponseFocusLost(DialogState& s, int controlId);  // 1075 / 1076
Message StartingResponseInfo();  // button 1159
Message RunningResponseInfo();   // button 1160
void ClearStatus(DialogState& s);    // status line empty, progress 0
void ResetControls(DialogState& s);  // as the main window's ResetControls

// The simpler notifications of the settings controls.
void OnCanControlChange(DialogState& s);                 // 1101: DRONECAN enables 1102/1103
void OnCutoffClick(DialogState& s, int controlId);       // 1052 / 1053
void OnSyncRectClick(DialogState& s, int controlId);     // 1048 / 1047
void OnStallClick(DialogState& s, int controlId);        // 1071 / 1070: untick the other
void OnInitialClick(DialogState& s);                     // 1072

}  // namespace orx
