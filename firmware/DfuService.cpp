#include "firmware/DfuService.h"

#include <cerrno>
#include <chrono>
#include <thread>

namespace orx {

namespace {

// The ESC's boot loader, the one the udev rule opens to the user. Another
// maker's DFU device that will not open is none of our business.
constexpr uint16_t kBootLoaderVendor = 0x0483;
constexpr uint16_t kBootLoaderProduct = 0xDF11;

// Only a refusal is worth telling: a device that went away meanwhile is simply absent.
std::optional<AccessProblem> refusal(const DfuDeviceInfo& info, UsbResult result) {
  if (result == UsbResult::Ok || result == UsbResult::NotFound || result == UsbResult::Gone) return std::nullopt;
  if (info.vendorId != kBootLoaderVendor || info.productId != kBootLoaderProduct) return std::nullopt;
  AccessProblem p;
  p.device = AccessDevice::DfuBootLoader;
  p.vendor = info.vendorId;
  p.product = info.productId;
  p.path = info.node.empty() ? info.path : info.node;
  switch (result) {
    case UsbResult::Access: p.error = EACCES; break;
    case UsbResult::Busy: p.error = EBUSY; break;
    case UsbResult::Timeout: p.error = ETIMEDOUT; break;
    case UsbResult::Stall: p.error = EPIPE; break;
    case UsbResult::Ok:
    case UsbResult::NotFound:
    case UsbResult::Gone:
    case UsbResult::Error: p.error = EIO; break;
  }
  return p;
}

}  // namespace

DfuService::~DfuService() {
  if (leaveHandle_ == 0) return;
  DfuOperationRecord record;
  for (int i = 0; i < 300; ++i) {
    if (engine_.GetOperationStatus(leaveHandle_, record) != dfurc::kSuccess || record.finished) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  engine_.StopOperation(leaveHandle_, record);
}

bool DfuService::EnumerateDfuDevices() {
  devicePath_.clear();
  deviceName_.clear();
  named_ = false;
  accessProblem_.reset();
  for (const DfuDeviceInfo& info : bus_.listDfuDevices()) {
    accessProblem_ = refusal(info, info.openResult);
    if (!info.description.empty()) {
      devicePath_ = info.path;
      deviceName_ = info.description;
      namedInfo_ = info;
      named_ = true;
    } else {
      devicePath_.clear();
      deviceName_ = kUnnamedDfuDevice;
      named_ = false;
    }
  }
  return named_ && !devicePath_.empty();
}

uint32_t DfuService::CreateMappingFromDevice() {
  mapping_.clear();
  accessProblem_.reset();
  if (devicePath_.empty()) return dfurc::kBadParameter;
  // A leave still running holds the device.
  if (leaveHandle_ != 0) {
    DfuOperationRecord ended;
    engine_.StopOperation(leaveHandle_, ended);
    leaveHandle_ = 0;
  }
  UsbResult opened = UsbResult::Ok;
  std::unique_ptr<DfuDeviceHandle> device = bus_.open(devicePath_, opened);
  if (!device) {
    accessProblem_ = refusal(namedInfo_, opened);
    return dfurc::kUnexpected;
  }
  const std::vector<std::string> names = device->alternateNames();
  bool any = false;
  for (size_t alt = 0; alt < names.size() && alt < 256; ++alt) {
    mapping_.push_back(ParseDfuMemoryMap(names[alt], uint8_t(alt)));
    any = any || mapping_.back().has_value();
  }
  if (!any) {
    mapping_.clear();
    return dfurc::kBadParameter;
  }
  return dfurc::kSuccess;
}

const DfuMemoryMap* DfuService::mappingFor(uint8_t alternate) const {
  if (alternate >= mapping_.size() || !mapping_[alternate]) return nullptr;
  return &*mapping_[alternate];
}

uint32_t DfuService::LeaveDfuMode() {
  if (leaveHandle_ != 0) {
    DfuOperationRecord ended;
    engine_.StopOperation(leaveHandle_, ended);
    leaveHandle_ = 0;
  }
  const DfuMemoryMap* map = mappingFor(0);
  if (map == nullptr) return dfurc::kBadParameter;
  DfuOperationRecord record;
  record.operation = DfuOpCode::Return;
  record.image = std::make_shared<DfuImage>(ImageFromMapping(*map, kLeaveImageName));
  record.devicePath = devicePath_;
  return engine_.LaunchOperation(record, leaveHandle_);
}

}  // namespace orx
