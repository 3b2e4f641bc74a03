// The NVQ series ESC's settings block as the ESC keeps and serves it.
//
// Short layout (older firmware): count byte, then `count` bytes: data d[0..]
// and the 8-bit sum last. Extended layout: `count` bytes in all, byte 1 is the
// count, data from byte 2, the sum last.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/SimTypes.h"

namespace orx::sim {

enum class BlockLayout { Short, Extended };

// The layout firmware version bytes 2 and 3 select.
BlockLayout layoutFor(std::uint8_t second, std::uint8_t third);

constexpr std::size_t kShortCount = 41;
constexpr std::size_t kExtendedCount = 44;
constexpr std::size_t kExtendedWithAdcCount = 49;

// A factory block with plausible values in every named setting. `count` 0
// takes the layout's usual count; extended blocks longer than 44 carry the
// current sensor's gain and offset as half floats at block[44..47].
Bytes factoryBlock(BlockLayout layout, std::size_t count = 0);

// Offset of d[0] in the served block.
std::size_t dataOffset(BlockLayout layout);
// The count the block declares (its first or second byte), 0 when too short.
std::size_t blockCount(const Bytes& block, BlockLayout layout);
// The sum over the data bytes (everything between the header and the sum).
std::uint8_t dataSum(const Bytes& block, BlockLayout layout);
// Recomputes and stores the sum byte.
void sealBlock(Bytes& block, BlockLayout layout);

// Length of the whole WriteBlock frame (0xD1, count, data, sum) for `count`,
// 0 when no frame can have that count.
std::size_t frameLength(std::uint8_t count, BlockLayout layout);

enum class WriteResult { Accepted, BadSum, WrongCount };

// Checks a complete WriteBlock frame against the kept block and, when sound,
// replaces the block. The acknowledgement byte to send is left in `ack`.
WriteResult acceptWriteFrame(const Bytes& frame, BlockLayout layout, Bytes& block,
                             std::uint8_t& ack);

}  // namespace orx::sim
