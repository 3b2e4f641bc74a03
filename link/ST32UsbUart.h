// The STM32 link: the NVQ series ESC's own virtual COM port. No echo; every
// command has a reply of known length, read into the receive buffer, which the
// caller zeroes first when it judges the reply (a missing reply reads as zeros).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "link/SerialLink.h"

namespace orx {

class ST32UsbUart : public SerialLink {
 public:
  static constexpr size_t kReceiveSize = 257;
  static constexpr int kExchangeMs = 1600;
  static constexpr int kFrameMs = 3000;

  explicit ST32UsbUart(PortOpener opener = systemPortOpener());
  ~ST32UsbUart() override;

  // 0 when open (also when it already was, or when the settings could not be
  // applied), 1 when the port cannot be opened. Always at this link's baud (9600).
  int OpenLink(const std::string& search);

  // Purge the receive side, write `b`; true when it was written.
  bool SendByte(uint8_t b);
  // PurgeAll, write `b`, read up to `n` bytes within 1600 ms. False only when
  // the write failed; the reply is judged by the caller.
  bool Exchange(uint8_t b, size_t n);
  // PurgeAll, write the frame, read up to `n` bytes within 3000 ms (nothing
  // when `n` is 0). False only when the write failed.
  bool ExchangeFrame(std::span<const uint8_t> frame, size_t n);
  // The cycle tick: BaudStep counts like the CP210x baud cycle (0 while the ESC
  // answers, else 1..6 then back to 3) and the baud never changes. Returns 0.
  int CycleTick();
};

}  // namespace orx
