#include "firmware/DfuOperation.h"

#include <algorithm>

namespace orx {

uint32_t FilterImageForOperation(const DfuImage& image, const DfuMemoryMap& map, DfuOpCode operation) {
  uint8_t needed = 0;
  switch (operation) {
    case DfuOpCode::Erase: needed = kSectorErasable; break;
    case DfuOpCode::Upgrade: needed = kSectorWritable; break;
    case DfuOpCode::Return: return dfurc::kSuccess;
    case DfuOpCode::Detach:
    case DfuOpCode::Upload: return dfurc::kBadParameter;
  }
  for (const DfuElement& e : image.elements) {
    if (!map.covers(e.address, e.data.size(), needed)) return dfurc::kBadParameter;
  }
  return dfurc::kSuccess;
}

std::vector<uint32_t> PagesToErase(const DfuImage& image, const DfuMemoryMap& map) {
  std::vector<uint32_t> pages;
  const DfuSector* sector = nullptr;
  for (const DfuElement& e : image.elements) {
    uint64_t at = e.address;
    const uint64_t end = at + e.data.size();
    while (at < end && at <= 0xFFFFFFFFu) {
      sector = map.sectorAt(uint32_t(at), sector);
      if (sector == nullptr) break;
      if (sector->erasable()) pages.push_back(sector->address);
      at = sector->end();
    }
  }
  std::sort(pages.begin(), pages.end());
  pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
  return pages;
}

DfuImage ImageFromMapping(const DfuMemoryMap& map, std::string name) {
  DfuImage image;
  image.alternate = map.alternate;
  image.named = true;
  image.name = std::move(name);
  if (!map.sectors.empty()) image.elements.push_back({map.sectors.front().address, {}});
  return image;
}

DfuEngine::~DfuEngine() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

uint32_t DfuEngine::LaunchOperation(const DfuOperationRecord& record, DfuOperationHandle& handle) {
  handle = 0;
  if (running_ != 0) return dfurc::kAlreadyRunning;
  if (record.devicePath.empty()) return dfurc::kBadParameter;
  switch (record.operation) {
    case DfuOpCode::Erase:
    case DfuOpCode::Upgrade:
      if (!record.image) return dfurc::kBadParameter;
      break;
    case DfuOpCode::Return: break;
    case DfuOpCode::Detach:
    case DfuOpCode::Upload: return dfurc::kBadParameter;
  }
  if (thread_.joinable()) thread_.join();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    shared_ = record;
    shared_.percent = 0;
    shared_.errorCode = dfurc::kSuccess;
    shared_.finished = false;
  }
  stop_ = false;
  try {
    thread_ = std::thread([this, record] { run(record); });
  } catch (const std::system_error&) {
    return dfurc::kThreadNotStarted;
  }
  running_ = next_++;
  if (next_ == 0) next_ = 1;
  handle = running_;
  return dfurc::kSuccess;
}

uint32_t DfuEngine::GetOperationStatus(DfuOperationHandle handle, DfuOperationRecord& record) {
  if (handle == 0 || handle != running_) return dfurc::kBadParameter;
  std::lock_guard<std::mutex> lock(mutex_);
  record = shared_;
  return dfurc::kSuccess;
}

uint32_t DfuEngine::StopOperation(DfuOperationHandle handle, DfuOperationRecord& record) {
  if (handle == 0 || handle != running_) return dfurc::kBadParameter;
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  running_ = 0;
  std::lock_guard<std::mutex> lock(mutex_);
  record = shared_;
  return dfurc::kSuccess;
}

void DfuEngine::progress(uint8_t percent, uint32_t block, uint32_t length, const DfuSeProtocol& dfu) {
  std::lock_guard<std::mutex> lock(mutex_);
  shared_.percent = percent;
  shared_.currentBlock = block;
  shared_.currentLength = length;
  shared_.currentRequest = uint32_t(dfu.lastRequest());
  shared_.dfuStatus = dfu.lastStatus().status;
  shared_.dfuState = dfu.lastStatus().state;
}

uint32_t DfuEngine::fail(DfuSeProtocol& dfu, DfuStep step) {
  switch (step) {
    case DfuStep::Ok: return dfurc::kSuccess;
    case DfuStep::Usb: return dfurc::kUnexpected;
    case DfuStep::DeviceError: return dfurc::kDfuError;
    case DfuStep::BadState: return dfurc::kBadStateMachine;
    case DfuStep::Busy: return dfurc::kRetryError;
    case DfuStep::Stopped:
      // Leave the device in a known state for whoever comes next.
      dfu.abort();
      return dfurc::kUnexpected;
  }
  return dfurc::kUnexpected;
}

void DfuEngine::run(DfuOperationRecord record) {
  const auto finish = [this](uint32_t code, uint8_t percent) {
    std::lock_guard<std::mutex> lock(mutex_);
    shared_.errorCode = code;
    if (code == dfurc::kSuccess) shared_.percent = percent;
    shared_.finished = true;
  };
  UsbResult opened = UsbResult::Ok;
  std::unique_ptr<DfuDeviceHandle> device = bus_.open(record.devicePath, opened);
  if (!device) return finish(dfurc::kUnexpected, 0);

  uint16_t transferSize = kDefaultTransferSize;
  for (const DfuDeviceInfo& info : bus_.listDfuDevices()) {
    if (info.path == record.devicePath && info.transferSize != 0) transferSize = info.transferSize;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    shared_.transferSize = transferSize;
  }

  const uint8_t alternate = record.image ? record.image->alternate : 0;
  const std::vector<std::string> names = device->alternateNames();
  std::optional<DfuMemoryMap> map;
  if (alternate < names.size()) map = ParseDfuMemoryMap(names[alternate], alternate);
  if (!map) return finish(dfurc::kBadParameter, 0);
  if (device->setAlternate(alternate) != UsbResult::Ok) return finish(dfurc::kUnexpected, 0);

  DfuSeProtocol dfu(*device, &stop_, sleep_);
  if (const DfuStep step = dfu.makeIdle(); step != DfuStep::Ok) return finish(fail(dfu, step), 0);

  uint32_t code = dfurc::kUnexpected;
  switch (record.operation) {
    case DfuOpCode::Erase: code = erase(dfu, *record.image, *map); break;
    case DfuOpCode::Upgrade:
      code = FilterImageForOperation(*record.image, *map, DfuOpCode::Upgrade);
      if (code == dfurc::kSuccess) code = download(dfu, *record.image, transferSize);
      break;
    case DfuOpCode::Return: code = leave(dfu, record.image.get(), *map); break;
    case DfuOpCode::Detach:
    case DfuOpCode::Upload: code = dfurc::kBadParameter; break;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    shared_.dfuStatus = dfu.lastStatus().status;
    shared_.dfuState = dfu.lastStatus().state;
    shared_.currentRequest = uint32_t(dfu.lastRequest());
  }
  finish(code, 100);
}

uint32_t DfuEngine::erase(DfuSeProtocol& dfu, const DfuImage& image, const DfuMemoryMap& map) {
  if (FilterImageForOperation(image, map, DfuOpCode::Erase) != dfurc::kSuccess) return dfurc::kBadParameter;
  const std::vector<uint32_t> pages = PagesToErase(image, map);
  for (size_t i = 0; i < pages.size(); ++i) {
    if (const DfuStep step = dfu.erasePage(pages[i]); step != DfuStep::Ok) return fail(dfu, step);
    // 100 is kept for the end, when the device has confirmed every page.
    progress(uint8_t(std::min<size_t>(99, (i + 1) * 100 / pages.size())), uint32_t(i), 5, dfu);
  }
  return dfurc::kSuccess;
}

uint32_t DfuEngine::download(DfuSeProtocol& dfu, const DfuImage& image, uint16_t transferSize) {
  const size_t total = image.size();
  size_t done = 0;
  for (const DfuElement& e : image.elements) {
    size_t at = 0;
    while (at < e.data.size()) {
      // A fresh address pointer per element, and again before block numbers run out.
      if (const DfuStep step = dfu.setAddress(uint32_t(e.address + at)); step != DfuStep::Ok) return fail(dfu, step);
      for (uint32_t block = kDfuFirstDataBlock; block <= 0xFFFF && at < e.data.size(); ++block) {
        const size_t n = std::min<size_t>(transferSize, e.data.size() - at);
        const auto chunk = std::span<const uint8_t>(e.data).subspan(at, n);
        if (const DfuStep step = dfu.downloadBlock(uint16_t(block), chunk); step != DfuStep::Ok) return fail(dfu, step);
        at += n;
        done += n;
        progress(uint8_t(std::min<size_t>(99, done * 100 / total)), block, uint32_t(n), dfu);
      }
    }
  }
  return dfurc::kSuccess;
}

uint32_t DfuEngine::leave(DfuSeProtocol& dfu, const DfuImage* image, const DfuMemoryMap& map) {
  uint32_t address = map.sectors.empty() ? 0 : map.sectors.front().address;
  if (image != nullptr && !image->elements.empty()) address = image->elements.front().address;
  if (const DfuStep step = dfu.leave(address); step != DfuStep::Ok) return fail(dfu, step);
  return dfurc::kSuccess;
}

}  // namespace orx
