#include "tools/NvqEsc.h"

#include <algorithm>

#include "tools/LogRecord.h"

namespace orx::sim {

namespace {

// A command whose bytes stop coming is dropped after this long, so that a
// half frame cannot swallow the next command.
constexpr auto kFrameGap = std::chrono::milliseconds(300);

}  // namespace

NvqEsc::NvqEsc(const NvqConfig& config)
    : config_(config), layout_(layoutFor(config.version[1], config.version[2])) {
  factory_ = factoryBlock(layout_, config_.blockCount);
  block_ = factory_;
  log_ = generateLog(config_.log);
  useMinutes_ = config_.useTimeMinutes;
}

void NvqEsc::setVersion(std::uint8_t letter, std::array<std::uint8_t, 3> version) {
  config_.letter = letter;
  config_.version = version;
  const BlockLayout layout = layoutFor(version[1], version[2]);
  if (layout != layout_) {
    // Other firmware, other block: start from its factory settings.
    layout_ = layout;
    factory_ = factoryBlock(layout_, config_.blockCount);
    block_ = factory_;
    markDirty();
  }
}

void NvqEsc::setBlock(Bytes block) {
  block_ = std::move(block);
  markDirty();
}

void NvqEsc::setUseTimeMinutes(std::uint32_t minutes) {
  useMinutes_ = minutes;
  markDirty();
}

void NvqEsc::setLogMemory(Bytes memory) {
  memory.resize(kLogMemorySize, 0xFF);
  log_ = std::move(memory);
  markDirty();
}

StateMap NvqEsc::saveState() const {
  return {{"kind", "nvq"},
          {"block", toHex(block_)},
          {"use-time-minutes", std::to_string(useMinutes_)},
          {"log", toHex(log_)}};
}

bool NvqEsc::loadState(const StateMap& state, std::string& error) {
  const auto kind = state.find("kind");
  if (kind == state.end() || kind->second != "nvq") {
    error = "not the state of an NVQ series ESC";
    return false;
  }
  Bytes block;
  Bytes log;
  unsigned long minutes = 0;
  if (!stateBytes(state, "block", block, error) || !stateBytes(state, "log", log, error) ||
      !stateNumber(state, "use-time-minutes", 0xFFFFFFul, minutes, error)) {
    return false;
  }
  const std::size_t count = blockCount(block, layout_);
  const std::size_t expected = layout_ == BlockLayout::Short ? count + 1 : count;
  if (block.size() < 4 || block.size() != expected) {
    error = "the kept settings block does not fit this firmware's block layout";
    return false;
  }
  if (log.size() != kLogMemorySize) {
    error = "the kept log is not 64768 bytes";
    return false;
  }
  block_ = std::move(block);
  log_ = std::move(log);
  useMinutes_ = static_cast<std::uint32_t>(minutes);
  return true;
}

void NvqEsc::reset() {
  pending_.clear();
  nextPage_ = 1;
  lastPage_ = 0;
}

void NvqEsc::onByte(std::uint8_t byte, unsigned /*lineBaud*/, Clock::time_point now, Output& out) {
  if (!pending_.empty() && now - lastByte_ > kFrameGap) pending_.clear();
  lastByte_ = now;
  pending_.push_back(byte);
  dispatch(now, out);
}

void NvqEsc::onIdle(Clock::time_point now) {
  if (!pending_.empty() && now - lastByte_ > kFrameGap) pending_.clear();
}

void NvqEsc::servePage(Command command, unsigned page, std::size_t length, Output& out) {
  Bytes reply(length, 0);
  if (page < kPageCount) {
    std::copy_n(log_.begin() + static_cast<std::ptrdiff_t>(page * kPageSize), kPageSize, reply.begin());
  } else {
    std::fill_n(reply.begin(), kPageSize, 0xFF);  // past the memory: reads as erased
  }
  reply[kPageSize] = static_cast<std::uint8_t>(page);
  const bool spoiled = faults_.reply(command, reply, out, kPageSize);
  lastPage_ = page;
  // A next page that did not arrive whole is sent again on the next request.
  if (command == Command::LogFirstPage) nextPage_ = 1;
  if (command == Command::LogNextPage) nextPage_ = spoiled ? page : page + 1;
}

void NvqEsc::dispatch(Clock::time_point /*now*/, Output& out) {
  while (!pending_.empty()) {
    const Bytes& p = pending_;
    switch (p[0]) {
      case 0xD4:
        faults_.reply(Command::Ping, {'S', 'T'}, out);
        pending_.clear();
        return;
      case 0xD7:
        faults_.reply(Command::Identify,
                      {config_.letter, config_.version[0], config_.version[1], config_.version[2]}, out);
        pending_.clear();
        return;
      case 0xDF: {
        const int reply = config_.blockLengthReply >= 0 ? config_.blockLengthReply
                                                        : static_cast<int>(blockCount(block_, layout_));
        faults_.reply(Command::BlockLength, {static_cast<std::uint8_t>(reply)}, out);
        pending_.clear();
        return;
      }
      case 0xD0:
        faults_.reply(Command::ReadBlock, block_, out);
        pending_.clear();
        return;
      case 0xDE:
        block_ = factory_;
        markDirty();
        faults_.reply(Command::RestoreDefaults, {1}, out);
        pending_.clear();
        return;
      case 0xD1: {
        if (p.size() < 2) return;
        const std::size_t length = frameLength(p[1], layout_);
        if (length == 0) {
          pending_.clear();  // no block has such a count
          return;
        }
        if (p.size() < length) return;
        std::uint8_t ack = 0;
        if (acceptWriteFrame(p, layout_, block_, ack) == WriteResult::Accepted) markDirty();
        faults_.reply(Command::WriteBlock, {ack}, out);
        pending_.clear();
        return;
      }
      case 0xDA: {
        if (p.size() < 2) return;
        if (p[1] == 0xD2) {
          faults_.reply(Command::ReadMcuId, Bytes(config_.mcuId.begin(), config_.mcuId.end()), out);
          pending_.clear();
          return;
        }
        if (p[1] == 0xD3) {
          const std::uint32_t hours = useMinutes_ / 60;
          faults_.reply(Command::ReadUseTime,
                        {static_cast<std::uint8_t>(useMinutes_ % 60), static_cast<std::uint8_t>(hours & 0xFF),
                         static_cast<std::uint8_t>((hours >> 8) & 0xFF)},
                        out);
          pending_.clear();
          return;
        }
        if (p[1] == 0xD1) {
          log_ = erasedLog();
          markDirty();
          faults_.reply(Command::ClearLog, {0x01}, out);
          pending_.clear();
          return;
        }
        if (p[1] == 0xC1) {
          if (p.size() >= 3 && p[2] != 0xD1) break;
          if (p.size() >= 4 && p[3] != 0xE1) break;
          if (p.size() < 4) return;
          useMinutes_ = 0;
          markDirty();
          faults_.reply(Command::ResetUseTime, {0x01}, out);
          pending_.clear();
          return;
        }
        break;
      }
      case 0xEA: {
        if (p.size() < 2) return;
        const std::uint8_t which = p[1];
        if (which == 0xF0) {
          pending_.clear();
          servePage(Command::LogFirstPage, 0, 257, out);
          return;
        }
        if (which == 0xF1) {
          pending_.clear();
          servePage(Command::LogNextPage, nextPage_, 256, out);
          return;
        }
        if (which == 0xF2) {
          pending_.clear();
          servePage(Command::LogRepeatPage, lastPage_, 256, out);
          return;
        }
        if (which == 0xF3) {
          pending_.clear();
          nextPage_ = 1;
          faults_.reply(Command::LogEnd, {0x01}, out);
          return;
        }
        break;
      }
      case 0xD6: {
        if (p.size() < 2) return;
        if (p[1] == 0xD7) {
          Output ignored;
          if (faults_.reply(Command::EnterBootLoader, {}, ignored)) {
            pending_.clear();  // a fault here keeps the ESC on its serial port
            return;
          }
          // The ESC restarts into its USB boot loader: its serial port is gone.
          reset();
          markLeftPort();
          out.vanishAt = out.bytes.size();
          return;
        }
        break;
      }
      default:
        pending_.erase(pending_.begin());  // not a command of this ESC: ignored
        continue;
    }
    // A prefix followed by something unexpected: drop the prefix and read the
    // rest afresh.
    pending_.erase(pending_.begin());
  }
}

}  // namespace orx::sim
