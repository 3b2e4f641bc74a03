// The DFU state the program keeps between jobs: the device found by the last
// search, its memory map, the engine and the operation handles. One per
// program, used by the monitor's DFU search, repair mode and the update.
//
// Threading: link worker thread only (the engine's own thread is internal).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "firmware/DfuMemoryMap.h"
#include "firmware/DfuOperation.h"
#include "firmware/UsbTransport.h"
#include "link/AccessProblem.h"

namespace orx {

inline constexpr const char* kUnnamedDfuDevice = "(Unnamed DFU device)";
// The leave image's name: three trailing blanks, 17 characters.
inline constexpr const char* kLeaveImageName = "Internal Flash   ";

class DfuService {
 public:
  explicit DfuService(DfuBus& bus, DfuSeProtocol::Sleep sleep = {}) : bus_(bus), engine_(bus, std::move(sleep)) {}
  // Lets a leave still running finish (for a few seconds at most): cut
  // short, it would keep the ESC in its boot loader after a program that
  // ends right after an update.
  ~DfuService();
  DfuService(const DfuService&) = delete;
  DfuService& operator=(const DfuService&) = delete;

  // Lists the DFU devices; the last one listed wins. True when a device with
  // a description is present (its path is then set). Nothing listed clears
  // the path and name, so an unplugged device is not found again.
  bool EnumerateDfuDevices();
  // Set when the last search or mapping found a DFU device that could not be
  // opened (no permission, held by another program): present, not absent.
  const std::optional<AccessProblem>& accessProblem() const { return accessProblem_; }
  const std::string& devicePath() const { return devicePath_; }
  const std::string& deviceName() const { return deviceName_; }
  bool named() const { return named_; }
  void clearDevicePath() { devicePath_.clear(); }
  void forgetDeviceName() {
    deviceName_.clear();
    named_ = false;
  }

  // Reads the memory map of every alternate setting of the found device.
  uint32_t CreateMappingFromDevice();
  // The map of this alternate, or null when the last mapping had none.
  const DfuMemoryMap* mappingFor(uint8_t alternate) const;

  DfuEngine& engine() { return engine_; }

  // Sends the device back to its application (not watched). Returns the
  // launch result; a previous leave still listed is ended first.
  uint32_t LeaveDfuMode();

 private:
  DfuBus& bus_;
  DfuEngine engine_;
  std::string devicePath_;
  std::string deviceName_;
  bool named_ = false;
  DfuDeviceInfo namedInfo_;  // the device behind devicePath_
  std::optional<AccessProblem> accessProblem_;
  std::vector<std::optional<DfuMemoryMap>> mapping_;
  DfuOperationHandle leaveHandle_ = 0;
};

}  // namespace orx
