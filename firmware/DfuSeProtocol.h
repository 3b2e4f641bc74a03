// The DFU 1.1 requests with ST's DfuSe extensions, one call per step, over an
// opened DfuDeviceHandle: status polling that honours bwPollTimeout, error
// states cleared, the Set Address Pointer (0x21) and Erase (0x41) commands,
// numbered data blocks from 2 on, and the zero-length download that makes the
// device leave DFU mode.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>

#include "firmware/UsbTransport.h"

namespace orx {

// bState of DFU_GETSTATUS.
enum class DfuState : uint8_t {
  AppIdle = 0, AppDetach = 1, Idle = 2, DownloadSync = 3, DownloadBusy = 4, DownloadIdle = 5,
  ManifestSync = 6, Manifest = 7, ManifestWaitReset = 8, UploadIdle = 9, Error = 10,
};

inline constexpr uint8_t kDfuStatusOk = 0x00;
inline constexpr uint8_t kDfuSeSetAddress = 0x21;
inline constexpr uint8_t kDfuSeErase = 0x41;
inline constexpr uint16_t kDfuFirstDataBlock = 2;

struct DfuStatusReply {
  uint8_t status = 0;
  uint32_t pollTimeoutMs = 0;
  uint8_t state = 0;
};

enum class DfuStep {
  Ok,
  Usb,          // a request failed on the bus (device gone, stall, time-out)
  DeviceError,  // the device reported an error status
  BadState,     // the device is in a state the step does not expect
  Busy,         // the device stayed busy past the limit
  Stopped,      // the caller asked the operation to end
};

class DfuSeProtocol {
 public:
  using Sleep = std::function<void(std::chrono::milliseconds)>;

  DfuSeProtocol(DfuDeviceHandle& device, const std::atomic<bool>* stop = nullptr, Sleep sleep = {});

  // The last status the device reported and the request in flight, for the record.
  const DfuStatusReply& lastStatus() const { return last_; }
  DfuRequest lastRequest() const { return request_; }

  DfuStep getStatus(DfuStatusReply& reply);
  DfuStep clearStatus();
  DfuStep abort();
  // Brings the device to dfuIDLE: an error state is cleared, a pending
  // download or upload aborted.
  DfuStep makeIdle();

  DfuStep setAddress(uint32_t address);
  DfuStep erasePage(uint32_t address);
  // Writes one block at address pointer + (block - 2) * transfer size.
  DfuStep downloadBlock(uint16_t block, std::span<const uint8_t> data);
  // Set Address Pointer, zero-length download, then the status that starts
  // the manifestation. A device that resets at once counts as gone home.
  DfuStep leave(uint32_t address);

  static constexpr int kRequestTimeoutMs = 5000;
  static constexpr int kMaxBusyPolls = 400;
  static constexpr uint32_t kMaxPollTimeoutMs = 5000;

 private:
  DfuStep command(std::span<const uint8_t> bytes);
  // GETSTATUS after a download until the device is no longer busy.
  DfuStep waitDownloadDone();
  bool stopped() const { return stop_ != nullptr && stop_->load(); }

  DfuDeviceHandle& device_;
  const std::atomic<bool>* stop_;
  Sleep sleep_;
  DfuStatusReply last_;
  DfuRequest request_ = DfuRequest::GetStatus;
};

}  // namespace orx
