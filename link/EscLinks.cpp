#include "link/EscLinks.h"

#include <algorithm>

namespace orx {

EscLinks::EscLinks(const PortOpener& opener) : cp210x(opener), stm32(opener) {}

EscLinks::EscLinks(PortOpener cp210xOpener, PortOpener stm32Opener)
    : cp210x(std::move(cp210xOpener)), stm32(std::move(stm32Opener)) {}

bool EscLinks::SendCommand(uint8_t b) {
  switch (ActiveLink) {
    case kCp210x: return cp210x.SendByte(b);
    case kStm32: stm32WriteFailed_ = !stm32.SendByte(b); return !stm32WriteFailed_;
    default: return false;
  }
}

ReceiveResult EscLinks::ReceiveReply(size_t n, int ms) {
  switch (ActiveLink) {
    case kCp210x: {
      const ReceiveResult result = cp210x.ReceiveReply(n, ms);
      const auto rx = cp210x.receiveBuffer();
      std::copy_n(rx.begin(), std::min(kCp210xCopy, rx.size()), ReplyBuffer.begin());
      return result;
    }
    case kStm32: {
      stm32.BusyWait(kStm32ReceiveWaitMs);
      const auto rx = stm32.receiveBuffer();
      if (rx[0] == 0 && rx[3] == 0 && rx[4] == 0 && !useTimeReadRunning) return ReceiveResult::Failed;
      std::copy_n(rx.begin(), std::min(kStm32Copy, rx.size()), ReplyBuffer.begin());
      return ReceiveResult::Complete;
    }
    default: return ReceiveResult::Failed;
  }
}

bool EscLinks::SendExpectAck(std::span<const uint8_t> bytes) {
  switch (ActiveLink) {
    case kCp210x: return cp210x.SendExpectAck(bytes);
    case kStm32: stm32WriteFailed_ = !stm32.ExchangeFrame(bytes, 0); return !stm32WriteFailed_;
    default: return false;
  }
}

bool EscLinks::Purge() {
  switch (ActiveLink) {
    case kCp210x: return cp210x.PurgeAll();
    case kStm32: return stm32.PurgeAll();
    default: return false;
  }
}

int EscLinks::Baud() const {
  switch (ActiveLink) {
    case kCp210x: return cp210x.baud();
    case kStm32: return stm32.baud();
    default: return 0;
  }
}

int EscLinks::CycleTick() {
  switch (ActiveLink) {
    case kCp210x: return cp210x.NextBaud();
    case kStm32: return stm32.CycleTick();
    default: return 0;
  }
}

void EscLinks::setStopToken(const std::stop_token& stop) {
  cp210x.setStopToken(stop);
  stm32.setStopToken(stop);
}

bool EscLinks::lastWriteFailed() const {
  switch (ActiveLink) {
    case kCp210x: return cp210x.lastWriteFailed();
    case kStm32: return stm32WriteFailed_;
    default: return true;
  }
}

void EscLinks::forgetReplyByte() {
  ReplyBuffer[0] = 0;
  switch (ActiveLink) {
    case kCp210x: cp210x.receiveBuffer()[0] = 0; break;
    case kStm32: stm32.receiveBuffer()[0] = 0; break;
    default: break;
  }
}

}  // namespace orx
