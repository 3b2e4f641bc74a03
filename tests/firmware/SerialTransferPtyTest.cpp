// The transfer over the real link code and a pseudo-terminal: termios, echo
// handling and the acknowledgement read as the ESC would see them.
#include <gtest/gtest.h>

#include "FakeBootLoader.h"
#include "PtyBootLoader.h"
#include "firmware/SerialTransfer.h"
#include "firmware/UsbUartBootLoaderLink.h"
#include "link/EscLinks.h"
#include "link/UsbIds.h"

using namespace orx;
using test::PtyBootLoader;

namespace {

struct PtyRig {
  PtyBootLoader loader;
  std::unique_ptr<EscLinks> links;

  bool open() {
    if (!loader.start()) return false;
    links = std::make_unique<EscLinks>(fixedPathOpener(loader.slavePath()), fixedPathOpener(loader.slavePath()));
    return links->cp210x.OpenLink(kCp210xId) == 0;
  }
};

FirmwareImage ImageOf(const std::vector<uint8_t>& bytes) {
  FirmwareImage image;
  EXPECT_EQ(image.decode(test::OrxText(bytes)), ImageLoadResult::Ok);
  return image;
}

}  // namespace

TEST(TransferOverPty, BootLoaderHoldsExactlyTheImageSent) {
  PtyRig rig;
  ASSERT_TRUE(rig.open());
  const std::vector<uint8_t> bytes = test::MakeImageBytes({256, 256, 0, 1000, 17});
  UsbUartBootLoaderLink link(*rig.links);
  std::vector<int> percents;
  EXPECT_EQ(TransferFirmware(link, ImageOf(bytes), [&](int p) { percents.push_back(p); }), TransferOutcome::Success);
  EXPECT_EQ(rig.loader.flash(), bytes);
  EXPECT_EQ(percents.size(), 5u);
  // The acknowledgement also reached the window's reply buffer.
  EXPECT_EQ(rig.links->ReplyBuffer[0], 0x11);
}

TEST(TransferOverPty, RefusalsThenAcceptAndChecksumError) {
  PtyRig rig;
  rig.loader.setBlockAnswers(1, {0x42, 0x42, 0x42, 0x11});
  rig.loader.setBlockAnswers(2, {0x12});
  ASSERT_TRUE(rig.open());
  const std::vector<uint8_t> bytes = test::MakeImageBytes({64, 64, 64});
  UsbUartBootLoaderLink link(*rig.links);
  EXPECT_EQ(TransferFirmware(link, ImageOf(bytes), {}), TransferOutcome::CrcChecksum);
  EXPECT_EQ(rig.loader.flash(), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 2 * 66));
  EXPECT_EQ(rig.loader.blocksSeen(), 1 + 4 + 1);
}
