#include "link/UsbUart.h"

#include "link/UsbIds.h"

namespace orx {

namespace {
constexpr int kStm32AdapterBaud = 256000;
constexpr int kSlowBaud = 1200;
constexpr int kSlowLineWaitMs = 1000;
constexpr int kEchoFirstMs = 500;
constexpr int kEchoRestMs = 300;
}  // namespace

UsbUart::UsbUart(PortOpener opener) : SerialLink(kReceiveSize, std::move(opener)) {}

UsbUart::~UsbUart() = default;

int UsbUart::OpenLink(const std::string& search) {
  return openAt(search, search == kStm32Id ? kStm32AdapterBaud : baud());
}

bool UsbUart::SendByte(uint8_t b) {
  Purge(PurgeWhat::Receive);  // an old reply must not pass for the echo
  const uint8_t scratch[1] = {b};
  lastWriteFailed_ = !Write(scratch);
  if (lastWriteFailed_) return false;
  Read(1, kEchoMs);
  return bytesWritten() == 1;
}

ReceiveResult UsbUart::ReceiveReply(size_t n, int ms) {
  Purge(PurgeWhat::Transmit);
  if (synchronousWrite) BusyWait(100);
  if (!Read(n, ms)) {
    PurgeAll();
    return ReceiveResult::Failed;
  }
  return bytesRead() == n ? ReceiveResult::Complete : ReceiveResult::Short;
}

bool UsbUart::CommandExpectAck(uint8_t b) {
  PurgeAll();
  if (!SendByte(b)) return false;
  return ReceiveReply(1, kAckMs) == ReceiveResult::Complete && receiveBuffer()[0] == 1;
}

bool UsbUart::SendExpectAck(std::span<const uint8_t> bytes) {
  PurgeAll();
  lastWriteFailed_ = !Write(bytes);
  if (lastWriteFailed_) return false;
  Read(bytes.size(), kEchoMs);
  return ReceiveReply(1, kAckMs) == ReceiveResult::Complete && receiveBuffer()[0] == 1;
}

bool UsbUart::WriteEchoed(std::span<const uint8_t> bytes) {
  lastWriteFailed_ = !Write(bytes);
  if (lastWriteFailed_) return false;
  if (baud() == kSlowBaud) BusyWait(kSlowLineWaitMs);
  if (Read(bytes.size(), kEchoFirstMs) && bytesRead() < bytes.size()) {
    Read(bytes.size() - bytesRead(), kEchoRestMs);
  }
  return true;
}

int UsbUart::NextBaud() {
  if (DeviceState == 2) {
    BaudStep = 0;
    return 0;
  }
  ++BaudStep;
  if (BaudStep < 3) return 0;  // two grace ticks
  if (BaudStep > 6) BaudStep = 3;
  const int next = kBaudCycle[BaudStep - 3];
  if (next == baud()) return 0;
  dropPort();
  setBaud(next);
  return next;
}

}  // namespace orx
