// SEND SETTINGS: the controls to the ESC, as one block (NVQ series) or one
// command per setting (CP210x). Runs as one job on the link worker, so a
// send pressed during a read simply waits for the read to finish.
#pragma once

#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx {

enum class SendOutcome {
  Updated,       // "SETTINGS UPDATED"
  NotConfirmed,  // NVQ series: the ESC did not acknowledge the block: "SEND SETTINGS FAILED"
                 // (and the DEVICE Connection Error box when the ESC is gone)
  ReadBackFailed,  // NVQ series: written, but not read back: "READ SETTINGS FAILED"
  StepFailed,    // CP210x: "<LABEL> SETTINGS FAILED"
  RangeIncorrect,  // "CALIBRATION RANGE INCORRECT"
  AdcRefused,    // a CURRENT ADC box
  NoBlock,       // NVQ series ESC whose block was never read: nothing sent
  Refused,       // a precondition box or the J7QX box; nothing sent
};

SendOutcome runSendSettings(DeviceSession& session, FlowHost& host);

// The two dialects, after the preconditions.
SendOutcome runStm32Send(DeviceSession& session, FlowHost& host);
SendOutcome runCp210xSend(DeviceSession& session, FlowHost& host);

}  // namespace orx
