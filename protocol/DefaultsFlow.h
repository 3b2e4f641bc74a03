// DEFAULT SETTINGS, and the factory defaults that follow a serial firmware
// update. Both run as jobs on the link worker.
#pragma once

#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"
#include "protocol/ReadSettingsFlow.h"

namespace orx {

// Button 1034 / Options > Default Settings: DefaultsRequested set, then the
// read-or-default entry (RestoreDefaults, then a read that ends with
// "DEFAULT SETTINGS UPDATED").
ReadOutcome runDefaultSettings(DeviceSession& session, FlowHost& host);

enum class AfterUpdateOutcome {
  ReadPosted,      // the ESC confirmed; a settings read was posted
  Silent,          // six pings without 0xD5: "DEFAULT SETTINGS FAILED", read posted
  DefaultsFailed,  // 0xDE not confirmed: "DEFAULT SETTINGS FAILED", read posted
};

// Called by the serial firmware update when its transfer succeeded: waits for
// the ESC (up to six pings), sends 0xDE, and posts the settings read
// (FlowHost::postSettingsRead). Without the confirmation the status says so
// and the read that follows ends with "DEFAULT SETTINGS FAILED" too.
AfterUpdateOutcome runDefaultsAfterUpdate(DeviceSession& session, FlowHost& host);

}  // namespace orx
