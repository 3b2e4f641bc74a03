// The CP210x send as data: the ordered steps that carry the controls to an ESC
// behind the CP210x adapter, one command byte (or two-byte frame) per setting.
// The send flow runs the steps against the link in order; tests read them
// without a port.
//
// Running a plan:
//   Status           set the status line (when `status` is not empty) and the progress
//   Command          progressBefore; send `bytes` (nothing sent or received when
//                    empty); progressAfterSend; receive; progressAfterReceive; when
//                    ackRequired and the byte judged is not 1: status
//                    failureStatus(step), restart the monitor, end
//   BusyWait         wait waitMs, then progressAfterReceive
//   Stop             status line `status`, restart the monitor, end
//   ClearRangeReset  clear DialogFlags::RangeResetPending
// A one-byte Command is a set value (send, receive 1 byte within 500 ms); a
// two-byte one is a set value pair (send expecting the acknowledgement, then
// receive 1 byte within 500 ms). `enable` applies to the controls before sending.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/DialogState.h"
#include "base/Messages.h"

namespace orx {

enum class SendOp { Status, Command, BusyWait, Stop, ClearRangeReset };

struct ControlEnable {
  int id = 0;
  bool enabled = false;
  bool operator==(const ControlEnable&) const = default;
};

struct SendStep {
  SendOp op = SendOp::Status;
  std::string label;           // Command: the setting's name in the failure status
  std::vector<uint8_t> bytes;  // Command: one byte or {prefix, value}
  bool ackRequired = false;
  int progressBefore = -1;     // -1: progress unchanged
  int progressAfterSend = -1;
  int progressAfterReceive = -1;
  int waitMs = 0;              // BusyWait
  std::string status;          // Status / Stop
  std::optional<ControlEnable> enable;
};

// The status of a Command whose acknowledgement is missing: "<label> SETTINGS FAILED".
std::string failureStatus(const SendStep& step);

// The steps for the controls as they are. rawHardwareByte is byte 2 of the
// last CP210x Identify reply: 10 and 12 skip the LOAD (adapter) step.
std::vector<SendStep> cp210xSendPlan(const DialogState& s, uint8_t rawHardwareByte);

// The J7QX (raw hardware byte 12) refuses DRIVE FREQUENCY "PRECISION": the box
// to show instead of sending, or nullopt.
std::optional<Message> j7qxRefusal(const DialogState& s, uint8_t rawHardwareByte);

}  // namespace orx
