#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "FakeDfuDevice.h"
#include "firmware/DfuOperation.h"

namespace orx {
namespace {

using test::FakeDfuBus;
using test::FakeDfuDevice;

struct EngineRig {
  FakeDfuDevice device;
  FakeDfuBus bus{device};
  DfuEngine engine{bus, [](std::chrono::milliseconds) {}};

  // Runs one operation to its end, as the update's poll would.
  DfuOperationRecord run(DfuOpCode op, std::shared_ptr<const DfuImage> image) {
    DfuOperationRecord record;
    record.operation = op;
    record.image = std::move(image);
    record.devicePath = "USB:1-4:0";
    DfuOperationHandle handle = 0;
    EXPECT_EQ(engine.LaunchOperation(record, handle), dfurc::kSuccess);
    EXPECT_NE(handle, 0u);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
      EXPECT_EQ(engine.GetOperationStatus(handle, record), dfurc::kSuccess);
      if (record.finished) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(engine.StopOperation(handle, record), dfurc::kSuccess);
    return record;
  }
};

std::shared_ptr<DfuImage> imageOf(std::vector<DfuElement> elements) {
  auto image = std::make_shared<DfuImage>();
  image->elements = std::move(elements);
  return image;
}

std::vector<uint8_t> pattern(size_t n, uint8_t seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint8_t(seed + i * 7);
  return v;
}

TEST(DfuEngine, EraseDownloadLeaveLeavesExactlyTheImageInFlash) {
  EngineRig rig;
  // 1000 bytes over pages 1 and 2 (not block aligned), 100 bytes in page 3.
  const auto image = imageOf({{0x08000500, pattern(1000, 1)}, {0x08000C10, pattern(100, 9)}});

  DfuOperationRecord erase = rig.run(DfuOpCode::Erase, image);
  EXPECT_EQ(erase.errorCode, dfurc::kSuccess);
  EXPECT_EQ(erase.percent, 100);
  EXPECT_EQ(rig.device.erasedPages, (std::vector<uint32_t>{0x08000400, 0x08000800, 0x08000C00}));

  DfuOperationRecord download = rig.run(DfuOpCode::Upgrade, image);
  EXPECT_EQ(download.errorCode, dfurc::kSuccess);
  EXPECT_EQ(download.percent, 100);
  EXPECT_EQ(download.transferSize, 256);
  // 1000 bytes in blocks of 256 from block 2; then a new address pointer and block 2 again.
  EXPECT_EQ(rig.device.dataBlocks, (std::vector<uint16_t>{2, 3, 4, 5, 2}));
  EXPECT_EQ(rig.device.read(0x08000500, 1000), pattern(1000, 1));
  EXPECT_EQ(rig.device.read(0x08000C10, 100), pattern(100, 9));
  // Erased but not written stays erased; the read-only first page keeps its bytes.
  EXPECT_EQ(rig.device.read(0x08000400, 0x100), std::vector<uint8_t>(0x100, 0xFF));
  EXPECT_EQ(rig.device.read(0x08000000, 0x400), std::vector<uint8_t>(0x400, 0x5A));

  DfuOperationRecord leave = rig.run(DfuOpCode::Return, std::make_shared<DfuImage>());
  EXPECT_EQ(leave.errorCode, dfurc::kSuccess);
  EXPECT_TRUE(rig.device.left);
}

TEST(DfuEngine, DownloadWithoutEraseIsAFailureNotASuccess) {
  EngineRig rig;
  const DfuOperationRecord r = rig.run(DfuOpCode::Upgrade, imageOf({{0x08000400, pattern(10, 3)}}));
  EXPECT_TRUE(r.finished);
  EXPECT_EQ(r.errorCode, dfurc::kDfuError);
  EXPECT_EQ(r.dfuStatus, 0x06);  // errPROG from the device
  EXPECT_LT(r.percent, 100);
  EXPECT_GE(rig.device.clearStatusCount, 1);  // the error state is cleared for the next try
}

TEST(DfuEngine, DownloadOutsideTheWritableFlashSendsNothing) {
  EngineRig rig;
  const DfuOperationRecord r = rig.run(DfuOpCode::Upgrade, imageOf({{0x08000F00, pattern(0x200, 3)}}));
  EXPECT_EQ(r.errorCode, dfurc::kBadParameter);
  EXPECT_TRUE(rig.device.dataBlocks.empty());
}

TEST(DfuEngine, DeviceErrorDuringEraseIsReported) {
  EngineRig rig;
  rig.device.failErasePage = 0x08000800;
  const DfuOperationRecord r = rig.run(DfuOpCode::Erase, imageOf({{0x08000400, pattern(0x800, 3)}}));
  EXPECT_EQ(r.errorCode, dfurc::kDfuError);
  EXPECT_EQ(r.dfuStatus, 0x04);
  EXPECT_LT(r.percent, 100);
  EXPECT_EQ(rig.device.erasedPages, (std::vector<uint32_t>{0x08000400}));
}

TEST(DfuEngine, DeviceLeftInErrorStateIsClearedFirst) {
  EngineRig rig;
  rig.device.startState = 10;
  const DfuOperationRecord r = rig.run(DfuOpCode::Erase, imageOf({{0x08000400, pattern(4, 3)}}));
  EXPECT_EQ(r.errorCode, dfurc::kSuccess);
  EXPECT_EQ(rig.device.clearStatusCount, 1);
  EXPECT_EQ(rig.device.erasedPages.size(), 1u);
}

TEST(DfuEngine, DeviceGoneMidwayEndsTheOperationWithAnError) {
  EngineRig rig;
  const auto image = imageOf({{0x08000400, pattern(0xC00, 3)}});
  rig.run(DfuOpCode::Erase, image);
  rig.device.requests = 0;
  rig.device.vanishAfterRequests = 12;
  const DfuOperationRecord r = rig.run(DfuOpCode::Upgrade, image);
  EXPECT_EQ(r.errorCode, dfurc::kUnexpected);
  EXPECT_LT(r.percent, 100);

  rig.device.present = false;
  EXPECT_EQ(rig.run(DfuOpCode::Erase, image).errorCode, dfurc::kUnexpected);
}

TEST(DfuEngine, LaunchRefusesBadRecordsAndASecondOperation) {
  EngineRig rig;
  DfuOperationRecord record;
  DfuOperationHandle handle = 7;
  record.operation = DfuOpCode::Erase;
  record.devicePath = "USB:1-4:0";
  EXPECT_EQ(rig.engine.LaunchOperation(record, handle), dfurc::kBadParameter);  // no image
  EXPECT_EQ(handle, 0u);
  record.operation = DfuOpCode::Upload;
  EXPECT_EQ(rig.engine.LaunchOperation(record, handle), dfurc::kBadParameter);
  EXPECT_EQ(rig.engine.GetOperationStatus(0, record), dfurc::kBadParameter);

  record.operation = DfuOpCode::Return;
  ASSERT_EQ(rig.engine.LaunchOperation(record, handle), dfurc::kSuccess);
  DfuOperationHandle second = 0;
  EXPECT_EQ(rig.engine.LaunchOperation(record, second), dfurc::kAlreadyRunning);
  EXPECT_EQ(rig.engine.StopOperation(handle, record), dfurc::kSuccess);
  EXPECT_EQ(rig.engine.LaunchOperation(record, second), dfurc::kSuccess);
  EXPECT_NE(second, handle);
  EXPECT_EQ(rig.engine.GetOperationStatus(handle, record), dfurc::kBadParameter);  // an old handle
  rig.engine.StopOperation(second, record);
}

}  // namespace
}  // namespace orx
