// The NVQ series dialect on the STM32 link: commands of one or two bytes with
// replies of known length. A silent ESC leaves a zero reply, which each
// judged transaction rejects; a write that fails means the link is lost.
//
// The judged transactions zero the receive buffer themselves before their
// exchange. The thin exchanges (use time, log pages, clear log) do not: their
// callers decide, e.g. the log download zeroes once and keeps stale pages.
// All run on the link worker's thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/ST32UsbUart.h"
#include "protocol/EscIdentity.h"

namespace orx::stm32 {

enum class PingResult {
  Answered,  // "ST"
  Silent,    // anything else, nothing included
  LinkLost,  // the write failed
};

// Exchange(0xD4, 2).
PingResult Ping(ST32UsbUart& link);

// Exchange(0xD7, 4); answered when reply[0] is 0x44.
Stm32Identity Identify(ST32UsbUart& link);

// ExchangeFrame({0xDA, 0xD2}, 10); the MCU id text when reply[9] is not 0.
std::optional<std::string> ReadMcuId(ST32UsbUart& link);

// Exchange(0xDF, 1): the length the ESC names, or the layout's default (41 or
// 44) when the write failed or the reply is 0.
int BlockLength(ST32UsbUart& link, bool layoutFlag);

struct BlockRead {
  bool written = false;        // false: the link is lost
  std::vector<uint8_t> reply;  // the whole receive buffer (257 bytes), reply from byte 0
};
// Exchange(0xD0, length). The reply is taken as it came; see BlockFromReply.
BlockRead ReadBlock(ST32UsbUart& link, int length);

enum class WriteBlockResult {
  Acknowledged,  // extended: the frame's sum came back; short: 1
  Refused,       // another byte, or nothing
  WriteFailed,
  NothingToSend, // empty frame (no block read yet)
};
// ExchangeFrame(frame, 1) with a frame from WriteBlockFrame.
WriteBlockResult WriteBlock(ST32UsbUart& link, const std::vector<uint8_t>& frame, bool extended);

// Exchange(0xDE, 1); true when the reply is 1.
bool RestoreDefaults(ST32UsbUart& link);

// ExchangeFrame({0xD6, 0xD7}, 0): write only. The ESC then leaves its serial
// port and comes back as a DFU device. True when written.
bool EnterBootLoader(ST32UsbUart& link);

// ExchangeFrame({0xDA, 0xD3}, 3): the use time lands in the receive buffer
// (byte 0 minutes, byte 1 hours). True when written.
bool ReadUseTime(ST32UsbUart& link);
// ExchangeFrame({0xDA, 0xC1, 0xD1, 0xE1}, 1) three times, 50 ms apart; the
// replies are not judged. True when every write succeeded.
bool ResetUseTime(ST32UsbUart& link);

// Log pages: ExchangeFrame({0xEA, 0xF0|F1|F2|F3}, 257|256|256|1). True when written.
bool LogFirstPage(ST32UsbUart& link);
bool LogNextPage(ST32UsbUart& link);
bool LogRepeatPage(ST32UsbUart& link);
bool LogEndTransfer(ST32UsbUart& link);
// ExchangeFrame({0xDA, 0xD1}, 1); reply byte 0 of 1 means cleared. True when written.
bool ClearLog(ST32UsbUart& link);

}  // namespace orx::stm32
