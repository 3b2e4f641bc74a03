#include "link/ST32UsbUart.h"

namespace orx {

ST32UsbUart::ST32UsbUart(PortOpener opener) : SerialLink(kReceiveSize, std::move(opener)) {}

ST32UsbUart::~ST32UsbUart() = default;

int ST32UsbUart::OpenLink(const std::string& search) { return openAt(search, baud()); }

bool ST32UsbUart::SendByte(uint8_t b) {
  Purge(PurgeWhat::Receive);
  const uint8_t scratch[1] = {b};
  return Write(scratch) && bytesWritten() == 1;
}

bool ST32UsbUart::Exchange(uint8_t b, size_t n) {
  PurgeAll();
  const uint8_t scratch[1] = {b};
  if (!Write(scratch)) return false;
  Read(n, kExchangeMs);
  return true;
}

bool ST32UsbUart::ExchangeFrame(std::span<const uint8_t> frame, size_t n) {
  PurgeAll();
  if (!Write(frame)) return false;
  if (n > 0) Read(n, kFrameMs);
  return true;
}

int ST32UsbUart::CycleTick() {
  if (DeviceState == 2) {
    BaudStep = 0;
    return 0;
  }
  ++BaudStep;
  if (BaudStep > 6) BaudStep = 3;
  return 0;
}

}  // namespace orx
