// The NVQ series ESC behind its own STM32 virtual COM port: no echo, one- and
// two-byte commands with replies of known length, the settings block, use
// time, the flight log and the jump into the USB boot loader.
#pragma once

#include <array>
#include <cstdint>

#include "tools/EscModel.h"
#include "tools/LogGenerator.h"
#include "tools/NvqBlock.h"

namespace orx::sim {

struct NvqConfig {
  std::uint8_t letter = 0x44;  // 'D', the NVQ series
  std::array<std::uint8_t, 3> version{0x01, 0x03, 0x05};  // "D.01.03.05": extended layout
  std::size_t blockCount = 0;       // 0 = the layout's usual 41 / 44; 49 adds the current sensor values
  int blockLengthReply = -1;        // answer to 0xDF; -1 = the block's count
  std::array<std::uint8_t, 10> mcuId{0x00, 0x37, 0x00, 0x2B, 0x31, 0x51, 0x50, 0x4E, 0x38, 0x20};
  std::uint32_t useTimeMinutes = 21 * 60 + 7;
  LogFill log;
};

class NvqEsc final : public EscModel {
 public:
  explicit NvqEsc(const NvqConfig& config = {});

  void onByte(std::uint8_t byte, unsigned lineBaud, Clock::time_point now, Output& out) override;
  void onIdle(Clock::time_point now) override;
  StateMap saveState() const override;
  bool loadState(const StateMap& state, std::string& error) override;

  BlockLayout layout() const { return layout_; }
  const NvqConfig& config() const { return config_; }
  void setBlockLengthReply(int reply) { config_.blockLengthReply = reply; }
  void setVersion(std::uint8_t letter, std::array<std::uint8_t, 3> version);

  const Bytes& block() const { return block_; }
  // Replaces the kept block (served as given: tests may store a bad one).
  void setBlock(Bytes block);
  const Bytes& factory() const { return factory_; }

  std::uint32_t useTimeMinutes() const { return useMinutes_; }
  void setUseTimeMinutes(std::uint32_t minutes);

  const Bytes& logMemory() const { return log_; }
  void setLogMemory(Bytes memory);  // resized to 64,768 bytes, padded with 0xFF

  // The page the next "next page" command serves.
  unsigned nextPage() const { return nextPage_; }

 private:
  void dispatch(Clock::time_point now, Output& out);
  void servePage(Command command, unsigned page, std::size_t length, Output& out);
  void reset();

  NvqConfig config_;
  BlockLayout layout_;
  Bytes factory_;
  Bytes block_;
  Bytes log_;
  std::uint32_t useMinutes_ = 0;
  unsigned nextPage_ = 1;
  unsigned lastPage_ = 0;

  Bytes pending_;  // bytes of a command not yet complete
  Clock::time_point lastByte_{};
};

}  // namespace orx::sim
