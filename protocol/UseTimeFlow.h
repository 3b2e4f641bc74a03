// Reading and resetting the use time of an NVQ series ESC (Options > ESC Use
// Time). Each run is one job on the link worker; the use-time window only
// asks for it and shows the text that comes back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/Messages.h"
#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx {

inline constexpr const char* kUseTimeUnknown = "n/a";
inline constexpr const char* kUseTimeZero = "0h : 00m";
// The ESC needs this long after the request before its answer counts.
inline constexpr int kUseTimeSettleMs = 2000;
inline constexpr size_t kUseTimeReplySize = 3;

inline Message notNvqEscBox() { return errorBox("error the connected ESC is not a NVQ series ESC"); }

// "%dh : %02dm"
std::string UseTimeText(unsigned hours, unsigned minutes);

// The text of a use-time reply: byte 0 minutes, bytes 1-2 the hours (16 bits,
// low byte first). Nothing when fewer than three bytes came or byte 0 is
// 0x53 ("S", the ESC answering something else).
std::optional<std::string> UseTimeFromReply(std::span<const uint8_t> reply, size_t bytesCame);

enum class UseTimeOutcome {
  Read,       // a new use time; `text` holds it
  NoAnswer,   // silence, a short or "S" reply: `text` is the previous one
  WrongLink,  // the active link is not the STM32 link; the error box was shown
};

struct UseTimeResult {
  UseTimeOutcome outcome = UseTimeOutcome::NoAnswer;
  std::string text;  // what the window shows now (may be empty: nothing read yet)
};

// Request, settle wait, reply. `lastText` is the use time kept between reads;
// a new answer replaces it. Restarts the monitor at 500 ms.
UseTimeResult runQueryUseTime(DeviceSession& session, FlowHost& host, std::string& lastText,
                              int settleMs = kUseTimeSettleMs);

enum class UseTimeResetOutcome {
  Sent,         // the three requests went out; the ESC does not confirm
  WriteFailed,  // a request could not be written
  WrongLink,    // the error box was shown, nothing sent
};

// The reset request three times, 50 ms apart. Restarts the monitor at 500 ms.
UseTimeResetOutcome runClearUseTime(DeviceSession& session, FlowHost& host);

}  // namespace orx
