// The program around the DFU update and the monitor's DFU step: shared
// controls that keep every status text shown, and a host whose DFU calls go
// to a DfuService over the fake boot loader, as the device manager wires them.
#pragma once

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "FakeDfuDevice.h"
#include "base/ControlIds.h"
#include "firmware/DfuFile.h"
#include "firmware/DfuService.h"
#include "protocol/DeviceSession.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/PortOpeners.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/WriteDfu.h"

namespace orx::test {

class DfuHost : public RecordingHost {
 public:
  explicit DfuHost(DfuService& dfu) : dfu_(dfu) {
    shared.setChangeListener([this] {
      const auto [status, updateEnabled] = shared.read([](const DialogState& s) {
        return std::pair(s.text(ctl::StatusLine), s.enabled(ctl::UpdateFirmware));
      });
      if (statuses.empty() || statuses.back() != status) statuses.push_back(status);
      if (!updateEnabled) buttonsWereDisabled = true;
    });
  }

  bool findDfuDevice() override { return dfu_.EnumerateDfuDevices(); }
  void forgetDfuDeviceName() override { dfu_.forgetDeviceName(); }
  bool readDfuMapping() override { return dfu_.CreateMappingFromDevice() == dfurc::kSuccess; }
  void leaveDfuMode() override { dfu_.LeaveDfuMode(); }

  bool showed(const std::string& text) const {
    for (const std::string& s : statuses) {
      if (s.rfind(text, 0) == 0) return true;
    }
    return false;
  }

  std::vector<std::string> statuses;
  bool buttonsWereDisabled = false;

 private:
  DfuService& dfu_;
};

// Waits for the background leave to reach the device.
inline bool waitLeft(FakeDfuDevice& device) {
  for (int i = 0; i < 2000; ++i) {
    {
      std::lock_guard<std::mutex> lock(device.mutex);
      if (device.left) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

}  // namespace orx::test
