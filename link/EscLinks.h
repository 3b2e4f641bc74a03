// Both links and the main window's generic operations over them: whatever
// ActiveLink names (0 the CP210x link, 1 the STM32 link) gets the command, and
// a receive leaves the reply in ReplyBuffer, where code written for either
// link reads it.
//
// Threading: the link worker owns one EscLinks and calls everything on it from
// its own thread; nothing here locks.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "link/ST32UsbUart.h"
#include "link/UsbUart.h"

namespace orx {

class EscLinks {
 public:
  static constexpr int kCp210x = 0;
  static constexpr int kStm32 = 1;
  static constexpr size_t kReplySize = 257;
  static constexpr size_t kCp210xCopy = 248;  // bytes of a CP210x reply copied over
  static constexpr size_t kStm32Copy = 256;
  static constexpr int kStm32ReceiveWaitMs = 200;

  explicit EscLinks(const PortOpener& opener = systemPortOpener());
  EscLinks(PortOpener cp210xOpener, PortOpener stm32Opener);

  UsbUart cp210x;
  ST32UsbUart stm32;
  int ActiveLink = kCp210x;
  std::array<uint8_t, kReplySize> ReplyBuffer{};
  // While the use time is read, the STM32 receive succeeds on a zero buffer.
  bool useTimeReadRunning = false;

  // Each returns failure (false, ReceiveResult::Failed, 0) for an ActiveLink
  // other than 0 or 1.
  bool SendCommand(uint8_t b);
  // CP210x: ReceiveReply(n, ms), then the first 248 bytes of its receive buffer
  // go to ReplyBuffer whatever the result. STM32: waits 200 ms and reads
  // nothing; fails when receive bytes 0, 3 and 4 are all zero (unless a use-time
  // read runs), else copies 256 bytes and succeeds.
  ReceiveResult ReceiveReply(size_t n, int ms);
  // CP210x: SendExpectAck. STM32: ExchangeFrame(bytes, 0), i.e. write only.
  bool SendExpectAck(std::span<const uint8_t> bytes);
  bool Purge();
  int Baud() const;
  // CP210x: NextBaud (the new baud or 0). STM32: the counter only (0).
  int CycleTick();

  // The link worker's stop request, for both links (see StopWait.h).
  void setStopToken(const std::stop_token& stop);
  bool stopRequested() const { return cp210x.stopRequested(); }

  // True when the active link's last command or frame could not be written.
  bool lastWriteFailed() const;
  // Zeroes byte 0 of the active link's receive buffer and of ReplyBuffer, so
  // that an acknowledgement judged later cannot be one left from an older
  // exchange. The other bytes stay (flows read the raw hardware byte at 2).
  void forgetReplyByte();

 private:
  bool stm32WriteFailed_ = false;
};

}  // namespace orx
