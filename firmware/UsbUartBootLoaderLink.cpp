#include "firmware/UsbUartBootLoaderLink.h"

namespace orx {

bool UsbUartBootLoaderLink::sendByte(uint8_t b) { return links_.cp210x.SendByte(b); }

ReplyResult UsbUartBootLoaderLink::receiveReply(int n, int ms) {
  // The update runs on the CP210x link whatever the monitor last pointed at.
  links_.ActiveLink = EscLinks::kCp210x;
  switch (links_.ReceiveReply(n < 0 ? 0 : static_cast<size_t>(n), ms)) {
    case ReceiveResult::Complete: return ReplyResult::Complete;
    case ReceiveResult::Short: return ReplyResult::Short;
    case ReceiveResult::Failed: return ReplyResult::Failed;
  }
  return ReplyResult::Failed;
}

uint8_t UsbUartBootLoaderLink::replyByte() const { return links_.cp210x.receiveBuffer()[0]; }

bool UsbUartBootLoaderLink::writeEchoed(const uint8_t* data, size_t n) {
  return links_.cp210x.WriteEchoed(std::span<const uint8_t>(data, n));
}

void UsbUartBootLoaderLink::purge() { links_.cp210x.PurgeAll(); }

void UsbUartBootLoaderLink::busyWait(int ms) { links_.cp210x.BusyWait(ms); }

}  // namespace orx
