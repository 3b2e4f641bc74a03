#include "tools/SerialBootLoader.h"

namespace orx::sim {

namespace {

// A block whose bytes stop coming for this long is dropped (the program
// sends the whole block at once and repeats it when unanswered).
constexpr auto kBlockGap = std::chrono::milliseconds(1000);
// After this much silence following accepted blocks the loader starts the
// new application.
constexpr auto kFinishGap = std::chrono::milliseconds(3000);
// Images are at most 128 KiB; a first length byte of 0x80 or more is no
// block but the program talking to the new application.
constexpr std::uint8_t kFirstImpossibleLengthHigh = 0x80;
constexpr std::size_t kImageLimit = 1u << 20;

}  // namespace

void SerialBootLoader::restart() {
  step_ = Step::Waiting;
  image_.clear();
  block_.clear();
  blocks_ = 0;
}

SerialBootLoader::Event SerialBootLoader::onByte(std::uint8_t byte, Clock::time_point now, FaultPlan& faults,
                                                 Output& out) {
  if (!block_.empty() && now - lastByte_ > kBlockGap) block_.clear();
  lastByte_ = now;

  if (block_.empty()) {
    // Between blocks the handshake bytes are still understood.
    if (byte == 0xD7) {
      faults.reply(Command::BootSync, {0xD8}, out);
      if (step_ == Step::Waiting) step_ = Step::Synced;
      return Event::None;
    }
    if (byte == 0xD6) {
      if (step_ == Step::Waiting) {
        faults.reply(Command::BootRequest, {0xD7}, out);
      } else {
        faults.reply(Command::BootStart, {0xD7}, out);
        step_ = Step::Transfer;
      }
      return Event::None;
    }
    if (step_ != Step::Transfer) return Event::None;  // the loader ignores anything else
    if (byte >= kFirstImpossibleLengthHigh) {
      if (blocks_ > 0) return Event::Finished;
      return Event::None;
    }
  }

  block_.push_back(byte);
  if (block_.size() < 2) return Event::None;
  const std::size_t length = 2 + std::size_t{block_[0]} * 256 + block_[1];
  if (block_.size() < length) return Event::None;

  int answer = faults.blockReply(blocks_, 0x11);
  if (answer == 0x11 && image_.size() + block_.size() > kImageLimit) answer = 0x12;  // no room: refuse
  if (answer == 0x11) {
    image_.insert(image_.end(), block_.begin(), block_.end());
    ++blocks_;
  }
  if (answer >= 0) out.bytes.push_back(static_cast<std::uint8_t>(answer));
  block_.clear();
  return Event::None;
}

SerialBootLoader::Event SerialBootLoader::onIdle(Clock::time_point now) {
  if (!block_.empty() && now - lastByte_ > kBlockGap) block_.clear();
  if (step_ == Step::Transfer && blocks_ > 0 && block_.empty() && now - lastByte_ > kFinishGap) {
    return Event::Finished;
  }
  return Event::None;
}

}  // namespace orx::sim
