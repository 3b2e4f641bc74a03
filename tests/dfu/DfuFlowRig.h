// The program around the DFU update and the monitor's DFU step: shared
// controls that keep every status text shown, a prompter and a file chooser
// that record, and a host whose DFU calls go to a DfuService over the fake
// boot loader, as the device manager wires them.
#pragma once

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "FakeDfuDevice.h"
#include "base/ControlIds.h"
#include "base/FileChooser.h"
#include "firmware/DfuFile.h"
#include "firmware/DfuService.h"
#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx::test {

class RecordingBoxes : public Prompter {
 public:
  std::vector<Message> shown;
  MsgAnswer ask(const Message& message) override {
    shown.push_back(message);
    return MsgAnswer::Ok;
  }
};

class FixedFile : public FileChooser {
 public:
  std::optional<std::string> path;
  std::vector<FileDialogRequest> requests;
  std::optional<std::string> choose(const FileDialogRequest& request) override {
    requests.push_back(request);
    return path;
  }
};

class DfuHost : public FlowHost {
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

  SharedControls& controls() override { return shared; }
  Prompter& prompter() override { return boxes; }
  void restartMonitor(int ms) override { periods.push_back(ms); }
  void indicatorsChanged() override {}
  bool findDfuDevice() override { return dfu_.EnumerateDfuDevices(); }
  void forgetDfuDeviceName() override { dfu_.forgetDeviceName(); }
  bool readDfuMapping() override { return dfu_.CreateMappingFromDevice() == dfurc::kSuccess; }
  void leaveDfuMode() override { dfu_.LeaveDfuMode(); }
  void postSettingsRead() override {}

  void setRepairMode(bool ticked) {
    shared.update([ticked](DialogState& s) { s.setChecked(ctl::RepairMode, ticked); });
  }
  bool checked(int id) const {
    return shared.read([id](const DialogState& s) { return s.checked(id); });
  }
  bool enabled(int id) const {
    return shared.read([id](const DialogState& s) { return s.enabled(id); });
  }
  std::string status() const {
    return shared.read([](const DialogState& s) { return s.text(ctl::StatusLine); });
  }
  bool showed(const std::string& text) const {
    for (const std::string& s : statuses) {
      if (s.rfind(text, 0) == 0) return true;
    }
    return false;
  }

  SharedControls shared;
  RecordingBoxes boxes;
  std::vector<std::string> statuses;
  std::vector<int> periods;
  bool buttonsWereDisabled = false;

 private:
  DfuService& dfu_;
};

inline PortOpener noPort() {
  return [](const std::string&) -> std::unique_ptr<SerialPort> { return nullptr; };
}

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

inline std::string writeDfu(const std::string& name, const DfuFile& file) {
  const std::string path = testing::TempDir() + "/" + name;
  const std::vector<uint8_t> bytes = BuildDfuFile(file);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

}  // namespace orx::test
