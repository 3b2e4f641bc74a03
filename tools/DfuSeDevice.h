// A DfuSe boot loader at the control-transfer level: flash that must be
// erased before it takes data (1 KB pages), the Set Address Pointer and Erase
// commands, numbered blocks, the busy/idle status dance, error states that
// need DFU_CLRSTATUS, the zero-length leave, and faults (a failing page, a
// device that vanishes after some requests). The engine tests drive it in
// process; orx-esc-sim serves it on a socket. Header only, so that the engine
// tests need no simulator library (they build on Windows too).
#pragma once

#include <cstring>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "firmware/UsbTransport.h"

namespace orx::sim {

// A small map so tests stay fast: 4 pages of 1 KB, the first one read-only.
inline constexpr const char* kSmallMap = "@Internal Flash  /0x08000000/01*001Ka,03*001Kg";

class DfuSeDevice {
 public:
  static constexpr uint32_t kBase = 0x08000000;

  explicit DfuSeDevice(uint32_t flashSize = 4096) : flash(flashSize, 0x5A) {}

  std::mutex mutex;
  std::vector<uint8_t> flash;  // 0xFF once erased
  std::vector<std::string> alternateNames{kSmallMap};
  std::string product = "STM32  BOOTLOADER";
  uint16_t transferSize = 256;
  bool present = true;
  std::optional<uint32_t> failErasePage;   // errERASE for this page
  int vanishAfterRequests = -1;            // the device is gone after this many requests
  uint8_t startState = 2;                  // dfuIDLE
  uint32_t firstErasable = kBase + 1024;   // the pages below refuse an erase (kSmallMap's read-only page)

  // What happened.
  std::vector<uint32_t> erasedPages;
  std::vector<uint16_t> dataBlocks;
  int clearStatusCount = 0;
  bool left = false;
  int requests = 0;
  int opens = 0;

  std::vector<uint8_t> read(uint32_t address, size_t n) {
    std::lock_guard<std::mutex> lock(mutex);
    const size_t at = address - kBase;
    return {flash.begin() + at, flash.begin() + at + n};
  }

  // Host side of the bus, called by the handle.
  UsbResult out(DfuRequest request, uint16_t value, std::span<const uint8_t> data) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!alive()) return UsbResult::Gone;
    switch (request) {
      case DfuRequest::Download: return download(value, data);
      case DfuRequest::ClearStatus:
        ++clearStatusCount;
        state_ = 2;
        status_ = 0;
        return UsbResult::Ok;
      case DfuRequest::Abort:
        if (state_ == 10) return UsbResult::Stall;
        state_ = 2;
        return UsbResult::Ok;
      default: return UsbResult::Stall;
    }
  }

  UsbResult in(DfuRequest request, std::span<uint8_t> data, size_t& received) {
    std::lock_guard<std::mutex> lock(mutex);
    received = 0;
    if (!alive()) return UsbResult::Gone;
    if (request != DfuRequest::GetStatus || data.size() < 6) return UsbResult::Stall;
    if (state_ == 3) {  // dfuDNLOAD-SYNC: the pending step runs now
      state_ = 4;
      runPending();
    } else if (state_ == 4) {
      state_ = status_ == 0 ? 5 : 10;
    } else if (state_ == 6) {
      state_ = 7;
      left = true;
    }
    const uint8_t reply[6] = {status_, 1, 0, 0, state_, 0};
    std::memcpy(data.data(), reply, 6);
    received = 6;
    return UsbResult::Ok;
  }

  // What the next DFU_GETSTATUS carries out, for faults that strike there.
  enum class Step { None, Command, Erase, Block, Leave };
  Step pendingStep() {
    std::lock_guard<std::mutex> lock(mutex);
    if (state_ == 6) return Step::Leave;
    if (state_ != 3) return Step::None;
    if (pendingBlock_ != 0) return Step::Block;
    return !pending_.empty() && pending_[0] == 0x41 ? Step::Erase : Step::Command;
  }

  void reset() {
    std::lock_guard<std::mutex> lock(mutex);
    state_ = startState;
    status_ = startState == 10 ? 0x0E : 0;  // errUNKNOWN left from an earlier session
  }

 private:
  bool alive() {
    ++requests;
    return present && (vanishAfterRequests < 0 || requests <= vanishAfterRequests);
  }

  UsbResult download(uint16_t block, std::span<const uint8_t> data) {
    if (state_ != 2 && state_ != 5) return UsbResult::Stall;
    pendingBlock_ = block;
    pending_.assign(data.begin(), data.end());
    state_ = block == 0 && data.empty() ? 6 : 3;
    return UsbResult::Ok;
  }

  void error(uint8_t status) { status_ = status; }

  bool inFlash(uint64_t address, size_t n) const { return address >= kBase && address + n <= kBase + flash.size(); }

  void runPending() {
    if (pendingBlock_ == 0) {
      if (pending_.size() != 5) return error(0x01);  // errTARGET
      const uint32_t address = pending_[1] | pending_[2] << 8 | pending_[3] << 16 | uint32_t(pending_[4]) << 24;
      if (pending_[0] == 0x21) {
        if (!inFlash(address, 0)) return error(0x08);  // errADDRESS
        pointer_ = address;
        return;
      }
      if (pending_[0] == 0x41) {
        const uint32_t page = address & ~uint32_t(1023);
        if (!inFlash(page, 1024) || page < firstErasable) return error(0x08);
        if (failErasePage && *failErasePage == page) return error(0x04);  // errERASE
        std::memset(flash.data() + (page - kBase), 0xFF, 1024);
        erasedPages.push_back(page);
        return;
      }
      return error(0x01);
    }
    if (pendingBlock_ == 1) return error(0x01);
    const uint64_t address = pointer_ + uint64_t(pendingBlock_ - 2) * transferSize;
    if (pending_.size() > transferSize || !inFlash(address, pending_.size())) return error(0x08);
    uint8_t* at = flash.data() + (address - kBase);
    for (size_t i = 0; i < pending_.size(); ++i) {
      if (at[i] != 0xFF) return error(0x06);  // errPROG: not erased
      at[i] = pending_[i];
    }
    dataBlocks.push_back(pendingBlock_);
  }

  uint8_t state_ = 2;
  uint8_t status_ = 0;
  uint32_t pointer_ = kBase;
  uint16_t pendingBlock_ = 0;
  std::vector<uint8_t> pending_;
};

}  // namespace orx::sim
