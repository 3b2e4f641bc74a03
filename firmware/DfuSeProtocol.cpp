#include "firmware/DfuSeProtocol.h"

#include <array>
#include <thread>

namespace orx {

DfuSeProtocol::DfuSeProtocol(DfuDeviceHandle& device, const std::atomic<bool>* stop, Sleep sleep)
    : device_(device), stop_(stop), sleep_(std::move(sleep)) {
  if (!sleep_) sleep_ = [](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); };
}

DfuStep DfuSeProtocol::getStatus(DfuStatusReply& reply) {
  request_ = DfuRequest::GetStatus;
  std::array<uint8_t, 6> bytes{};
  size_t got = 0;
  if (device_.controlIn(DfuRequest::GetStatus, 0, bytes, got, kRequestTimeoutMs) != UsbResult::Ok || got < 6) {
    return DfuStep::Usb;
  }
  reply.status = bytes[0];
  reply.pollTimeoutMs = uint32_t(bytes[1]) | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]) << 16;
  reply.state = bytes[4];
  last_ = reply;
  return DfuStep::Ok;
}

DfuStep DfuSeProtocol::clearStatus() {
  request_ = DfuRequest::ClearStatus;
  return device_.controlOut(DfuRequest::ClearStatus, 0, {}, kRequestTimeoutMs) == UsbResult::Ok ? DfuStep::Ok
                                                                                               : DfuStep::Usb;
}

DfuStep DfuSeProtocol::abort() {
  request_ = DfuRequest::Abort;
  return device_.controlOut(DfuRequest::Abort, 0, {}, kRequestTimeoutMs) == UsbResult::Ok ? DfuStep::Ok
                                                                                         : DfuStep::Usb;
}

DfuStep DfuSeProtocol::makeIdle() {
  // Two rounds: an abort may land the device in an error state that still needs clearing.
  for (int round = 0; round < 3; ++round) {
    DfuStatusReply s;
    if (const DfuStep step = getStatus(s); step != DfuStep::Ok) return step;
    switch (static_cast<DfuState>(s.state)) {
      case DfuState::Idle: return DfuStep::Ok;
      case DfuState::Error:
        if (const DfuStep step = clearStatus(); step != DfuStep::Ok) return step;
        break;
      case DfuState::DownloadIdle:
      case DfuState::UploadIdle:
      case DfuState::DownloadSync:
        if (const DfuStep step = abort(); step != DfuStep::Ok) return step;
        break;
      case DfuState::AppIdle:
      case DfuState::AppDetach:
      case DfuState::DownloadBusy:
      case DfuState::ManifestSync:
      case DfuState::Manifest:
      case DfuState::ManifestWaitReset:
        return DfuStep::BadState;
    }
  }
  return DfuStep::BadState;
}

DfuStep DfuSeProtocol::waitDownloadDone() {
  // No stop here: the block or command in flight is finished (or fails)
  // before an operation that was asked to stop ends.
  for (int poll = 0; poll < kMaxBusyPolls; ++poll) {
    DfuStatusReply s;
    if (const DfuStep step = getStatus(s); step != DfuStep::Ok) return step;
    if (s.status != kDfuStatusOk || s.state == uint8_t(DfuState::Error)) {
      // Leave the device ready for the next try; the error is what counts.
      clearStatus();
      last_ = s;
      return DfuStep::DeviceError;
    }
    switch (static_cast<DfuState>(s.state)) {
      case DfuState::DownloadIdle:
      case DfuState::Idle: return DfuStep::Ok;
      case DfuState::DownloadBusy:
      case DfuState::DownloadSync:
        sleep_(std::chrono::milliseconds(std::min(s.pollTimeoutMs, kMaxPollTimeoutMs)));
        break;
      default: return DfuStep::BadState;
    }
  }
  return DfuStep::Busy;
}

DfuStep DfuSeProtocol::command(std::span<const uint8_t> bytes) {
  if (stopped()) return DfuStep::Stopped;
  request_ = DfuRequest::Download;
  if (device_.controlOut(DfuRequest::Download, 0, bytes, kRequestTimeoutMs) != UsbResult::Ok) return DfuStep::Usb;
  return waitDownloadDone();
}

namespace {
std::array<uint8_t, 5> addressCommand(uint8_t code, uint32_t address) {
  return {code, uint8_t(address), uint8_t(address >> 8), uint8_t(address >> 16), uint8_t(address >> 24)};
}
}  // namespace

DfuStep DfuSeProtocol::setAddress(uint32_t address) { return command(addressCommand(kDfuSeSetAddress, address)); }

DfuStep DfuSeProtocol::erasePage(uint32_t address) { return command(addressCommand(kDfuSeErase, address)); }

DfuStep DfuSeProtocol::downloadBlock(uint16_t block, std::span<const uint8_t> data) {
  if (stopped()) return DfuStep::Stopped;
  request_ = DfuRequest::Download;
  if (device_.controlOut(DfuRequest::Download, block, data, kRequestTimeoutMs) != UsbResult::Ok) return DfuStep::Usb;
  return waitDownloadDone();
}

DfuStep DfuSeProtocol::leave(uint32_t address) {
  if (const DfuStep step = setAddress(address); step != DfuStep::Ok) return step;
  request_ = DfuRequest::Download;
  if (device_.controlOut(DfuRequest::Download, 0, {}, kRequestTimeoutMs) != UsbResult::Ok) return DfuStep::Usb;
  DfuStatusReply s;
  // The device may reset before it answers; then it has left already.
  if (getStatus(s) != DfuStep::Ok) return DfuStep::Ok;
  if (s.status != kDfuStatusOk) return DfuStep::DeviceError;
  switch (static_cast<DfuState>(s.state)) {
    case DfuState::Manifest:
    case DfuState::ManifestSync:
    case DfuState::ManifestWaitReset:
    case DfuState::DownloadBusy: return DfuStep::Ok;
    default: return DfuStep::BadState;
  }
}

const char* UsbResultText(UsbResult result) {
  switch (result) {
    case UsbResult::Ok: return "ok";
    case UsbResult::NotFound: return "device not found";
    case UsbResult::Access: return "no permission to open the device";
    case UsbResult::Busy: return "interface in use";
    case UsbResult::Timeout: return "time-out";
    case UsbResult::Stall: return "request refused";
    case UsbResult::Gone: return "device gone";
    case UsbResult::Error: return "USB error";
  }
  return "USB error";
}

}  // namespace orx
