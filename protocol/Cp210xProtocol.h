// The older ESCs' dialect on the CP210x link: one command byte at a time, each
// echoed by the line, settings written one command each and acknowledged with
// the byte 1, read back as a dump that ends with silence. Everything goes
// through the generic operations of EscLinks (the active link, ReplyBuffer).
//
// All run on the link worker's thread and block it for their time limits.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "link/EscLinks.h"
#include "protocol/EscIdentity.h"

namespace orx::cp210x {

enum class PingResult {
  Answered,    // a reply whose first byte is 0xD5
  OtherReply,  // a reply with another first byte
  NoReply,     // nothing within the time limit
  LinkLost,    // the command byte could not be written
};

inline constexpr int kMonitorPingMs = 50;
inline constexpr int kPingMs = 500;  // before a dump or a protections command

// Send 0xD4; receive 2 bytes within `ms`. A short reply (one byte) counts as
// a reply; its first byte decides.
PingResult Ping(EscLinks& links, int ms);

inline constexpr int kIdentifyAttempts = 11;
// Up to 11 attempts while the send of 0xD7 succeeds: receive 7 bytes within
// 1000 ms; the first complete reply identifies the ESC.
Cp210xIdentity Identify(EscLinks& links);

enum class BootResult {
  BootLoader,  // 0xD7: the boot loader runs
  OtherByte,
  NoByte,      // nothing within 300 ms
  LinkLost,
};
// Send 0xD6; receive 1 byte within 300 ms.
BootResult BootRequest(EscLinks& links);

// Called after each byte collected, with its index; the flows report progress here.
using ByteProgress = std::function<void(size_t index, uint8_t byte)>;

// Upper bound on bytes collected by a dump or a protections read, so an ESC
// that never falls silent cannot hold the link worker for good.
inline constexpr size_t kMaxCollected = 256;

struct DumpResult {
  bool answered = false;       // the 500 ms Ping got a reply
  std::vector<uint8_t> bytes;  // may be empty: still a completed read
};
// Ping (500 ms); send 0x02; wait 500 ms; then receive 1 byte within 50 ms
// again and again, appending each, until a receive fails.
DumpResult DumpSettings(EscLinks& links, const ByteProgress& onByte = {});

// Send the code; receive 1 byte within 500 ms; true when it is 1.
bool SetValue(EscLinks& links, uint8_t code);
// Send {prefix, value} expecting the acknowledgement (2000 ms), then receive 1
// byte within 500 ms once more. When the second read stays silent the buffer
// still holds the first acknowledgement, and that is what is judged.
bool SetValuePair(EscLinks& links, uint8_t prefix, uint8_t value);

// PurgeAll; CommandExpectAck(0xDE); receive 1 byte within 1000 ms; true when
// the byte judged is 1. Needs the CP210x link active.
bool RestoreDefaults(EscLinks& links);

struct ProtectionsResult {
  bool answered = false;       // the 500 ms Ping got a reply
  std::vector<uint8_t> bytes;  // collected until 200 ms of silence
};
// Wait 50 ms; Ping (500 ms), whose failure ends it; send 0xD8; wait 100 ms;
// receive 1 byte within 200 ms repeatedly, collecting until a receive fails,
// sleeping 10 ms between bytes.
ProtectionsResult ReadProtections(EscLinks& links, const ByteProgress& onByte = {});
// The same with 0xD9. The ESC confirms with a first byte 0xFF.
ProtectionsResult ClearProtections(EscLinks& links, const ByteProgress& onByte = {});
inline bool ProtectionsCleared(const ProtectionsResult& r) { return !r.bytes.empty() && r.bytes[0] == 0xFF; }

}  // namespace orx::cp210x
