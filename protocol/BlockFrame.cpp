#include "protocol/BlockFrame.h"

namespace orx {

namespace {

uint8_t byteAt(std::span<const uint8_t> bytes, size_t pos) { return pos < bytes.size() ? bytes[pos] : 0; }

}  // namespace

ReceivedBlock BlockFromReply(std::span<const uint8_t> reply, bool extended) {
  ReceivedBlock out;
  out.count = byteAt(reply, extended ? 1 : 0);
  const size_t first = extended ? 0 : 1;
  out.block.resize(static_cast<size_t>(out.count));
  for (size_t i = 0; i < out.block.size(); ++i) out.block[i] = byteAt(reply, first + i);
  return out;
}

bool BlockReplySound(std::span<const uint8_t> reply, bool extended, int expectedCount) {
  const int count = byteAt(reply, extended ? 1 : 0);
  if (count != expectedCount || count < (extended ? 4 : 1)) return false;
  if (!extended) return true;
  const size_t last = static_cast<size_t>(count) - 1;
  if (last >= reply.size()) return false;
  unsigned sum = 0;
  for (size_t i = 2; i < last; ++i) sum += reply[i];
  return static_cast<uint8_t>(sum) == reply[last];
}

std::vector<uint8_t> WriteBlockFrame(std::span<const uint8_t> block, int count, bool extended) {
  if (count < (extended ? 4 : 1) || count > 255) return {};
  const size_t n = static_cast<size_t>(count);
  const size_t length = extended ? n : n + 2;
  std::vector<uint8_t> frame(length, 0);
  frame[0] = kWriteBlockCommand;
  frame[1] = static_cast<uint8_t>(count & 0xFF);
  // Data d[k] sits at block[k] (short) or block[k + 2] (extended) and goes to frame[k + 2].
  const size_t offset = extended ? 2 : 0;
  for (size_t pos = 2; pos + 1 < length; ++pos) frame[pos] = byteAt(block, pos - 2 + offset);
  frame[length - 1] = FrameSum(frame);
  return frame;
}

uint8_t FrameSum(std::span<const uint8_t> frame) {
  unsigned sum = 0;
  for (size_t i = 2; i + 1 < frame.size(); ++i) sum += frame[i];
  return static_cast<uint8_t>(sum & 0xFF);
}

uint8_t ExpectedWriteAck(std::span<const uint8_t> frame, bool extended) {
  // The sum byte as sent, not one recomputed here: a frame spoiled on its way
  // must not be taken as acknowledged by an ESC that answers with the right sum.
  if (!extended) return 1;
  return frame.empty() ? 0 : frame.back();
}

}  // namespace orx
