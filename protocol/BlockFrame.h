// The NVQ series settings block on the wire: which bytes of a ReadBlock reply
// are kept, and the WriteBlock frame built back from the kept block. Plain
// bytes in and out; EscSettings holds the kept block between the two.
//
// Short layout:    reply = count, d[0] .. d[count-1]   (the last one is the sum)
//                  kept  = reply[1 .. count]
//                  frame = 0xD1, count, d[0] .. d[count-2], sum   (count + 2 bytes)
// Extended layout: reply = byte 0, count, d[0] .. , sum (count bytes in all)
//                  kept  = reply[0 .. count-1]
//                  frame = 0xD1, count, d[0] .. d[count-4], sum   (count bytes)
// The sum is the 8-bit sum of frame bytes 2 up to the byte before the sum.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orx {

inline constexpr uint8_t kWriteBlockCommand = 0xD1;

struct ReceivedBlock {
  std::vector<uint8_t> block;  // `count` bytes, as kept
  int count = 0;               // the count byte of the reply
};

// The kept block of a ReadBlock reply. `reply` is the link's receive buffer
// (zeroed before the read, so a short reply reads as zeros); positions past
// its end read as zero, never past it. The sum is not checked.
ReceivedBlock BlockFromReply(std::span<const uint8_t> reply, bool extended);

// True when a ReadBlock reply is the block asked for: its count byte is
// `expectedCount`, and in the extended layout its last byte, reply[count-1],
// is the sum of reply[2 .. count-2]. A short read asks for `count` bytes and so
// stops before the ESC's sum: there the count is all there is to check.
bool BlockReplySound(std::span<const uint8_t> reply, bool extended, int expectedCount);

// The WriteBlock frame for a kept block of `count` bytes (bytes past the end
// of `block` count as zero). Empty when the count leaves no room for the
// frame (below 1 short, below 4 extended): nothing is sent then.
std::vector<uint8_t> WriteBlockFrame(std::span<const uint8_t> block, int count, bool extended);

// 8-bit sum of frame[2] .. frame[size-2] (the byte before the sum).
uint8_t FrameSum(std::span<const uint8_t> frame);

// The byte an ESC must answer to a WriteBlock: the frame's sum byte as sent
// (extended) or 1 (short).
uint8_t ExpectedWriteAck(std::span<const uint8_t> frame, bool extended);

}  // namespace orx
