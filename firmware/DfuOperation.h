// Erase, download and leave as background operations on a thread of their
// own, with a status record that the caller polls: the engine in place of the
// closed device-update library, with its operation codes and result codes.
//
// Threading: launch, status and stop are called from one thread (the link
// worker); the operation's thread writes the record under a mutex.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "firmware/DfuFile.h"
#include "firmware/DfuMemoryMap.h"
#include "firmware/DfuSeProtocol.h"
#include "firmware/UsbTransport.h"

namespace orx {

enum class DfuOpCode : uint32_t { Detach = 0, Return = 1, Upload = 2, Erase = 3, Upgrade = 4 };

namespace dfurc {
inline constexpr uint32_t kSuccess = 0x12340000;
inline constexpr uint32_t kThreadNotStarted = 0x12345001;
inline constexpr uint32_t kAlreadyRunning = 0x12345007;
inline constexpr uint32_t kBadParameter = 0x12345008;
inline constexpr uint32_t kBadStateMachine = 0x12345009;
inline constexpr uint32_t kUnexpected = 0x1234500A;
inline constexpr uint32_t kDfuError = 0x1234500B;
inline constexpr uint32_t kRetryError = 0x1234500C;
}  // namespace dfurc

inline constexpr uint16_t kDefaultTransferSize = 2048;

// What an operation is asked to do, and how far it got.
struct DfuOperationRecord {
  DfuOpCode operation = DfuOpCode::Erase;
  std::shared_ptr<const DfuImage> image;
  std::string devicePath;

  uint8_t percent = 0;
  uint16_t transferSize = 0;
  uint8_t dfuStatus = 0;
  uint8_t dfuState = 0;
  uint32_t currentRequest = 0;
  uint32_t currentBlock = 0;
  uint32_t currentLength = 0;
  uint32_t errorCode = dfurc::kSuccess;
  bool finished = false;  // the thread is done, with errorCode telling how
};

using DfuOperationHandle = uint32_t;  // 0: none

class DfuEngine {
 public:
  explicit DfuEngine(DfuBus& bus, DfuSeProtocol::Sleep sleep = {}) : bus_(bus), sleep_(std::move(sleep)) {}
  ~DfuEngine();
  DfuEngine(const DfuEngine&) = delete;
  DfuEngine& operator=(const DfuEngine&) = delete;

  // Starts the operation of `record` in the background.
  uint32_t LaunchOperation(const DfuOperationRecord& record, DfuOperationHandle& handle);
  // Copies the progress of the running operation into `record`.
  uint32_t GetOperationStatus(DfuOperationHandle handle, DfuOperationRecord& record);
  // Ends the operation (asking it to stop if it still runs) and fills `record`.
  uint32_t StopOperation(DfuOperationHandle handle, DfuOperationRecord& record);

 private:
  void run(DfuOperationRecord record);
  uint32_t erase(DfuSeProtocol& dfu, const DfuImage& image, const DfuMemoryMap& map);
  uint32_t download(DfuSeProtocol& dfu, const DfuImage& image, uint16_t transferSize);
  uint32_t leave(DfuSeProtocol& dfu, const DfuImage* image, const DfuMemoryMap& map);
  uint32_t fail(DfuSeProtocol& dfu, DfuStep step);
  void progress(uint8_t percent, uint32_t block, uint32_t length, const DfuSeProtocol& dfu);

  DfuBus& bus_;
  DfuSeProtocol::Sleep sleep_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  DfuOperationHandle running_ = 0;
  DfuOperationHandle next_ = 1;
  std::mutex mutex_;
  DfuOperationRecord shared_;
};

// Checks `image` against the target's memory before an operation: erase and
// upgrade need every byte in erasable or writable sectors. Returns kSuccess or
// kBadParameter; nothing is cut silently, so no firmware goes out half.
uint32_t FilterImageForOperation(const DfuImage& image, const DfuMemoryMap& map, DfuOpCode operation);

// The pages an erase of `image` must clear, in address order.
std::vector<uint32_t> PagesToErase(const DfuImage& image, const DfuMemoryMap& map);

// An image covering the whole mapping (no data), as the leave operation takes it.
DfuImage ImageFromMapping(const DfuMemoryMap& map, std::string name);

}  // namespace orx
