// Reading the advanced settings from the ESC into the controls, for both
// dialects, and the read-or-default entry behind Read Settings and DEFAULT
// SETTINGS. Each function runs as (part of) one job on the link worker; the
// job queue keeps it apart from every other exchange, so no lock is taken.
#pragma once

#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx {

enum class ReadOutcome {
  Completed,  // status "READ SETTINGS COMPLETED" or "DEFAULT SETTINGS UPDATED"
  Failed,     // STM32: the ESC is marked silent so the next probe reads again (no message,
              // or the status text of an ESC that never answers its Identify);
              // CP210x: a dump too short to decode, "READ SETTINGS FAILED"
  NoReply,    // CP210x ESC silent before the dump; controls kept
  Refused,    // a precondition box was shown, or nothing answers
  DefaultsFailed,  // "DEFAULT SETTINGS FAILED"
};

// Menu Options > Read Settings: DefaultsRequested cleared, then the entry.
ReadOutcome runReadSettings(DeviceSession& session, FlowHost& host);

// The read-or-default entry: the REPAIR MODE, adapter and device boxes, the
// purge, RestoreDefaults of the answering dialect when DefaultsRequested is
// set, then the read.
ReadOutcome runReadOrDefault(DeviceSession& session, FlowHost& host);

// The read of whichever ESC answers: the STM32 one first, else the CP210x one.
// This is what FlowHost::postSettingsRead() should run as its job.
ReadOutcome runSettingsRead(DeviceSession& session, FlowHost& host);

// The NVQ series read: Identify, MCU id, block length, block, decoding.
// Also run by the monitor's presence probe right after the first "ST".
ReadOutcome runStm32Read(DeviceSession& session, FlowHost& host);

// The CP210x read: the settings dump, byte by byte with its progress text.
ReadOutcome runCp210xRead(DeviceSession& session, FlowHost& host);

}  // namespace orx
