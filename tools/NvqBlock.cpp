#include "tools/NvqBlock.h"

#include <array>

namespace orx::sim {

BlockLayout layoutFor(std::uint8_t second, std::uint8_t third) {
  if (second > 2 || (second == 2 && third >= 0x16)) return BlockLayout::Extended;
  return BlockLayout::Short;
}

std::size_t dataOffset(BlockLayout layout) {
  switch (layout) {
    case BlockLayout::Short:
      return 1;
    case BlockLayout::Extended:
      return 2;
  }
  return 2;
}

namespace {

// d[0..40] of a fresh ESC: propeller hold off, cutoff on at 3.2 V/cell, medium
// drive frequency, dynamic timing, forward, S.R. on, calibration DYNAMIC,
// overload ULTRA-HIGH, DEFAULT motor, range 1100-1940 us, 8 Hz logging, stall
// protection on, PWM sync, DUAL adapter, CAN node INITIAL at 1000K.
constexpr std::array<std::uint8_t, 41> kFactoryData{
    0,    1,    0,    1,    32,   1,  1,  0,  1,  1,     // d[0..9]
    0,    50,   0,    0,    1,    0,  50, 6,  1,  1,     // d[10..19]
    1,    1,    1,    1,    1,    1,                     // d[20..25] acceleration rates
    0x4C, 0x04, 0x94, 0x07,                              // d[26..29] 1100 / 1940 us
    1,    1,    1,    1,                                 // d[30..33] acceleration rates
    0,    1,    0,    0,    1,    0,                     // d[34..39]
    1,                                                   // d[40] MOTOR-12 acceleration
};

}  // namespace

Bytes factoryBlock(BlockLayout layout, std::size_t count) {
  Bytes block;
  switch (layout) {
    case BlockLayout::Short: {
      if (count < 2) count = kShortCount;
      if (count > 255) count = 255;
      block.assign(count + 1, 0);
      block[0] = static_cast<std::uint8_t>(count);
      // count - 1 data bytes, then the sum (which overlays d[40] in a 41-byte block)
      for (std::size_t k = 0; k + 1 < count && k < kFactoryData.size(); ++k) block[1 + k] = kFactoryData[k];
      break;
    }
    case BlockLayout::Extended: {
      if (count < 4) count = kExtendedCount;
      if (count > 255) count = 255;
      block.assign(count, 0);
      block[0] = 0xD0;
      block[1] = static_cast<std::uint8_t>(count);
      for (std::size_t k = 0; k + 3 < count && k < kFactoryData.size(); ++k) block[2 + k] = kFactoryData[k];
      if (count >= kExtendedWithAdcCount) {
        // current sensor gain 17.5 and offset +21.6 as half floats, high byte first
        block[44] = 0x4C;
        block[45] = 0x60;
        block[46] = 0x4D;
        block[47] = 0x66;
      }
      break;
    }
  }
  sealBlock(block, layout);
  return block;
}

std::size_t blockCount(const Bytes& block, BlockLayout layout) {
  switch (layout) {
    case BlockLayout::Short:
      return block.empty() ? 0 : block[0];
    case BlockLayout::Extended:
      return block.size() < 2 ? 0 : block[1];
  }
  return 0;
}

std::uint8_t dataSum(const Bytes& block, BlockLayout layout) {
  const std::size_t begin = dataOffset(layout);
  if (block.size() < begin + 1) return 0;
  unsigned sum = 0;
  for (std::size_t i = begin; i + 1 < block.size(); ++i) sum += block[i];
  return static_cast<std::uint8_t>(sum);
}

void sealBlock(Bytes& block, BlockLayout layout) {
  if (block.size() < dataOffset(layout) + 1) return;
  block.back() = dataSum(block, layout);
}

std::size_t frameLength(std::uint8_t count, BlockLayout layout) {
  switch (layout) {
    case BlockLayout::Short:
      return count < 2 ? 0 : std::size_t{count} + 2;
    case BlockLayout::Extended:
      return count < 4 ? 0 : std::size_t{count};
  }
  return 0;
}

WriteResult acceptWriteFrame(const Bytes& frame, BlockLayout layout, Bytes& block,
                             std::uint8_t& ack) {
  const std::uint8_t frameSum = frame.empty() ? 0 : frame.back();
  // A refusal must never look like an acknowledgement.
  ack = layout == BlockLayout::Short ? 0 : static_cast<std::uint8_t>(frameSum ^ 0xFF);
  if (frame.size() < 4 || frame[1] != blockCount(block, layout) ||
      frame.size() != frameLength(frame[1], layout)) {
    return WriteResult::WrongCount;
  }
  unsigned sum = 0;
  for (std::size_t i = 2; i + 1 < frame.size(); ++i) sum += frame[i];
  if (static_cast<std::uint8_t>(sum) != frameSum) return WriteResult::BadSum;

  switch (layout) {
    case BlockLayout::Short: {
      Bytes kept(frame.begin() + 1, frame.end());  // count, data, sum
      block = std::move(kept);
      ack = 1;
      break;
    }
    case BlockLayout::Extended: {
      const std::uint8_t first = block[0];
      block = frame;
      block[0] = first;
      ack = frameSum;
      break;
    }
  }
  return WriteResult::Accepted;
}

}  // namespace orx::sim
