// Small steps the flows share: the precondition boxes, status and progress
// updates, and showing what an Identify told. All run on the link worker.
#pragma once

#include <initializer_list>
#include <string>

#include "base/Messages.h"
#include "protocol/DeviceSession.h"
#include "protocol/EscIdentity.h"
#include "protocol/FlowHost.h"

namespace orx {

enum class Precondition { Ok, RepairModeTicked, NoAdapter, NoDevice };

// REPAIR MODE first, then an open adapter, then an answering ESC.
Precondition checkPreconditions(const DeviceSession& session, FlowHost& host);

// Shows the box for a failed precondition (nothing for Ok). `repairBox` is
// the read or the send variant of the REPAIR MODE box.
void showPreconditionBox(FlowHost& host, Precondition p, const Message& repairBox);

bool repairModeTicked(FlowHost& host);
void setStatus(FlowHost& host, const std::string& text);
void setProgress(FlowHost& host, int value);
// One update per value, so a mirror that shows every change walks the bar.
void stepProgress(FlowHost& host, std::initializer_list<int> values);
void setText(FlowHost& host, int controlId, const std::string& text);

// The CP210x Identify as the window shows it: version text, hardware code
// kept in the session, MOTOR EDITION enabled for hardware code 11 only.
void showCp210xIdentity(DeviceSession& session, FlowHost& host, const Cp210xIdentity& id);

}  // namespace orx
