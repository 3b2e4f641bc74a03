#include <gtest/gtest.h>

#include "DfuFlowRig.h"
#include "device/Monitor.h"
#include "firmware/DfuUpdate.h"
#include "firmware/SerialFirmwareUpdate.h"

namespace orx {
namespace {

using namespace orx::test;

std::vector<uint8_t> pattern(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint8_t(i * 13 + 5);
  return v;
}

DfuFile firmwareFile(uint8_t alternate = 0) {
  DfuFile f;
  DfuImage image;
  image.alternate = alternate;
  image.named = true;
  image.name = "Internal Flash";
  image.elements.push_back({0x08000400, pattern(1500)});
  f.images.push_back(image);
  return f;
}

struct FlowRig {
  FlowRig() { session.hardwareCode = 69; }  // accepts files starting with D, F or A

  DfuUpdateResult update() { return RunDfuFirmwareUpdate(session, host, files, dfu, timing); }

  FakeDfuDevice device;
  FakeDfuBus bus{device};
  DfuService dfu{bus, [](std::chrono::milliseconds) {}};
  DfuHost host{dfu};
  FixedChooser files;
  DeviceSession session{noPort(), noPort()};
  DfuUpdateTiming timing{std::chrono::milliseconds(10), std::chrono::milliseconds(60), std::chrono::milliseconds(5),
                         std::chrono::milliseconds(5)};
};

TEST(DfuUpdateFlow, UpdatesTheEscAndGivesTheWindowBack) {
  FlowRig rig;
  rig.files.path = writeDfu("D_nvq_ok.dfu", firmwareFile());
  rig.host.setRepairMode(false);
  ASSERT_EQ(rig.update(), DfuUpdateResult::Updated);

  ASSERT_EQ(rig.files.requests.size(), 1u);
  EXPECT_EQ(rig.files.requests[0].filter, "Dfu Files (*.dfu)|*.dfu|All Files (*.*)|*.*||");
  EXPECT_EQ(rig.files.requests[0].defaultExtension, "dfu");
  EXPECT_TRUE(rig.host.boxes.shown.empty());

  EXPECT_EQ(rig.device.read(0x08000400, 1500), pattern(1500));
  EXPECT_TRUE(waitLeft(rig.device));

  EXPECT_TRUE(rig.host.showed("Entering firmware update mode (DFU Mode)..."));
  EXPECT_TRUE(rig.host.showed("Erase Phase ("));
  EXPECT_TRUE(rig.host.showed(" Download Phase ("));
  EXPECT_EQ(rig.host.status(), "FIRMWARE UPDATED");
  EXPECT_TRUE(rig.host.buttonsWereDisabled);
  for (int id : {ctl::UpdateFirmware, ctl::DefaultSettings, ctl::SendSettings}) EXPECT_TRUE(rig.host.enabled(id));
  EXPECT_FALSE(rig.host.checked(ctl::RepairMode));
  EXPECT_EQ(rig.host.periods, std::vector<int>{500});
  EXPECT_TRUE(rig.session.DefaultsAfterUpdate);
  EXPECT_EQ(rig.session.links.stm32.AdapterState, 0);
}

TEST(DfuUpdateFlow, WaitsForTheDeviceToAppearAfterTheBootLoaderCommand) {
  FlowRig rig;
  rig.files.path = writeDfu("D_late.dfu", firmwareFile());
  rig.bus.appearAfterLists = 4;
  rig.timing.enterLimit = std::chrono::milliseconds(5000);
  EXPECT_EQ(rig.update(), DfuUpdateResult::Updated);
  EXPECT_GE(rig.bus.lists, 4);
}

TEST(DfuUpdateFlow, FileNameMustFitTheEscUnlessRepairModeIsTicked) {
  FlowRig rig;
  rig.files.path = writeDfu("B_other.dfu", firmwareFile());
  EXPECT_EQ(rig.update(), DfuUpdateResult::WrongFile);
  ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.boxes.shown[0], errorBox("Incorrect Device Firmware Version - \nPlease Check File Before Updating."));
  EXPECT_EQ(rig.device.opens, 0);
  EXPECT_FALSE(rig.session.DefaultsAfterUpdate);  // nothing reached the ESC

  FlowRig repair;
  repair.files.path = rig.files.path;
  repair.host.setRepairMode(true);
  EXPECT_EQ(repair.update(), DfuUpdateResult::Updated);
  EXPECT_TRUE(repair.host.boxes.shown.empty());
  EXPECT_FALSE(repair.host.checked(ctl::RepairMode));
}

TEST(DfuUpdateFlow, RefusesCancelAndBadFilesBeforeTouchingTheEsc) {
  FlowRig rig;
  EXPECT_EQ(rig.update(), DfuUpdateResult::Cancelled);
  EXPECT_TRUE(rig.host.boxes.shown.empty());

  const TempDir folder;
  const std::string path = folder.file("D_broken.dfu");
  std::ofstream(path) << "not a dfu file";
  rig.files.path = path;
  EXPECT_EQ(rig.update(), DfuUpdateResult::BadFile);
  ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.boxes.shown[0], errorBox("This file doesn't have a correct format."));
  EXPECT_EQ(rig.device.opens, 0);
  EXPECT_FALSE(rig.session.DefaultsAfterUpdate);
}

TEST(DfuUpdateFlow, NoDeviceWithinTheLimit) {
  FlowRig rig;
  rig.files.path = writeDfu("D_nodev.dfu", firmwareFile());
  rig.device.present = false;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(rig.update(), DfuUpdateResult::DeviceNotFound);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.boxes.shown[0], errorBox("ESC not detected, please reconnect. (DFU Device not found)"));
  EXPECT_EQ(rig.host.status(), "Entering firmware update mode (DFU Mode)...");
  EXPECT_EQ(rig.host.periods, std::vector<int>{500});  // the monitor goes on
  EXPECT_FALSE(rig.session.DefaultsAfterUpdate);  // nothing was erased: the ESC keeps its settings
}

TEST(DfuUpdateFlow, ABootLoaderThatCannotBeOpenedIsNamedNeverNotFound) {
  // Already waiting in DFU mode: told before a file is asked for.
  FlowRig waiting;
  waiting.bus.refuse = UsbResult::Access;
  EXPECT_EQ(waiting.update(), DfuUpdateResult::DeviceNotOpenable);
  EXPECT_TRUE(waiting.files.requests.empty());
  EXPECT_FALSE(waiting.session.DefaultsAfterUpdate);
  ASSERT_EQ(waiting.host.boxes.shown.size(), 1u);
  const std::string text = waiting.host.boxes.shown[0].text;
  EXPECT_EQ(text.rfind(std::string(kDfuNoAccessText) + "\n\nThe ESC's DFU boot loader (USB id 0483:DF11) is plugged in "
                       "at /dev/bus/usb/001/007, but this program cannot open it: this user has no permission for it.", 0),
            0u) << text;

  // Restarted into it by the update, and held by another program there.
  FlowRig restarted;
  restarted.files.path = writeDfu("D_held.dfu", firmwareFile());
  restarted.bus.appearAfterLists = 3;
  restarted.bus.refuse = UsbResult::Busy;
  EXPECT_EQ(restarted.update(), DfuUpdateResult::DeviceNotOpenable);
  ASSERT_EQ(restarted.host.boxes.shown.size(), 1u);
  EXPECT_NE(restarted.host.boxes.shown[0].text.find("another program is using it"), std::string::npos);
  EXPECT_FALSE(restarted.session.DefaultsAfterUpdate);  // restarted, but no erase ran: its settings stand
  EXPECT_EQ(restarted.host.periods, std::vector<int>{500});

  // Another maker's DFU device that will not open is not the ESC.
  FlowRig foreign;
  foreign.bus.refuse = UsbResult::Access;
  foreign.bus.productId = 0x1234;
  EXPECT_EQ(foreign.update(), DfuUpdateResult::Cancelled);
  EXPECT_TRUE(foreign.host.boxes.shown.empty());
}

TEST(DfuUpdateFlow, UnreadableMemoryMap) {
  FlowRig rig;
  rig.files.path = writeDfu("D_map.dfu", firmwareFile());
  rig.device.alternateNames = {"Internal Flash"};
  EXPECT_EQ(rig.update(), DfuUpdateResult::MappingError);
  ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.boxes.shown[0], errorBox("Cannot read ESC, please reconnect. (Decode device mapping error)"));
  EXPECT_EQ(rig.host.periods, std::vector<int>{500});
  EXPECT_TRUE(rig.device.erasedPages.empty());
  EXPECT_FALSE(rig.session.DefaultsAfterUpdate);
}

TEST(DfuUpdateFlow, FileWithoutAlternateZeroLaunchesNothing) {
  FlowRig rig;
  rig.files.path = writeDfu("D_alt1.dfu", firmwareFile(1));
  EXPECT_EQ(rig.update(), DfuUpdateResult::NoImage);
  EXPECT_EQ(rig.host.status(), "Target 00: Unable to find data for that device/target from the file ...");
  EXPECT_TRUE(rig.host.boxes.shown.empty());
  EXPECT_TRUE(rig.device.erasedPages.empty());
  EXPECT_TRUE(rig.device.dataBlocks.empty());
  EXPECT_FALSE(rig.session.DefaultsAfterUpdate);
}

TEST(DfuUpdateFlow, ImageOutsideTheWritableFlashIsRefusedBeforeErasing) {
  FlowRig rig;
  DfuFile file = firmwareFile();
  file.images[0].elements.push_back({0x08000000, pattern(16)});  // the read-only page
  rig.files.path = writeDfu("D_outside.dfu", file);
  EXPECT_EQ(rig.update(), DfuUpdateResult::LaunchFailed);
  ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.boxes.shown[0].text, DfuFailureText(DfuOpCode::Erase, dfurc::kBadParameter));
  EXPECT_EQ(rig.host.status(), "FIRMWARE UPDATE FAILED");
  EXPECT_TRUE(rig.device.erasedPages.empty());
  EXPECT_FALSE(rig.session.DefaultsAfterUpdate);
}

TEST(DfuUpdateFlow, DeviceErrorDuringTheEraseIsReportedNotShownForever) {
  FlowRig rig;
  rig.files.path = writeDfu("D_erasefail.dfu", firmwareFile());
  rig.device.failErasePage = 0x08000800;
  rig.host.setRepairMode(true);
  EXPECT_EQ(rig.update(), DfuUpdateResult::OperationFailed);
  ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.boxes.shown[0],
            errorBox("Update Error: DFU Erase Failed (0x1234500B) - \nPlease Reconnect and Power Cycle Device."));
  EXPECT_EQ(rig.host.status(), "FIRMWARE UPDATE FAILED");
  EXPECT_FALSE(rig.host.showed("FIRMWARE UPDATED"));
  for (int id : {ctl::UpdateFirmware, ctl::DefaultSettings, ctl::SendSettings}) EXPECT_TRUE(rig.host.enabled(id));
  EXPECT_TRUE(rig.host.checked(ctl::RepairMode));  // kept, so the user can try again
  EXPECT_EQ(rig.host.periods, std::vector<int>{500});
  EXPECT_TRUE(rig.device.dataBlocks.empty());
  EXPECT_TRUE(rig.session.DefaultsAfterUpdate);  // pages were erased: the next read restores defaults
}

TEST(DfuUpdateFlow, PhaseTexts) {
  EXPECT_EQ(DfuPhaseText(DfuOpCode::Erase, 42), "Erase Phase (42%)...");
  EXPECT_EQ(DfuPhaseText(DfuOpCode::Upgrade, 7), " Download Phase (7%)...");
  EXPECT_EQ(DfuPhaseText(DfuOpCode::Return, 100), "Leaving DFU mode 100%...");
  EXPECT_EQ(DfuPhaseText(DfuOpCode::Detach, 3), "Detaching 3%...");
  EXPECT_EQ(DfuPhaseText(DfuOpCode::Upload, 5, 0), "Target 00: Uploading 5%...");
  EXPECT_EQ(DfuPhaseText(static_cast<DfuOpCode>(9), 5), "");
}

struct MonitorRig {
  // With no serial port the third tick searches for a DFU device.
  void ticks() {
    for (int i = 0; i < 3; ++i) monitor.tick();
  }
  FakeDfuDevice device;
  FakeDfuBus bus{device};
  DfuService dfu{bus, [](std::chrono::milliseconds) {}};
  DfuHost host{dfu};
  DeviceSession session{noPort(), noPort()};
  Monitor monitor{session, host};
};

TEST(MonitorDfuStep, SendsAFoundDfuDeviceBackToItsApplication) {
  MonitorRig rig;
  rig.monitor.tick();
  rig.monitor.tick();
  EXPECT_EQ(rig.bus.lists, 0);
  rig.monitor.tick();
  EXPECT_GE(rig.bus.lists, 1);  // the leave, on its own thread, may look the device up again
  EXPECT_EQ(rig.session.links.stm32.AdapterState, 2);
  EXPECT_EQ(rig.host.status(), "Entering app mode...");
  EXPECT_FALSE(rig.session.StmLinkOpened);
  EXPECT_TRUE(waitLeft(rig.device));
}

TEST(MonitorDfuStep, RepairModeOrAnUnreadableMapKeepsTheEscInDfuMode) {
  MonitorRig repair;
  repair.host.setRepairMode(true);
  repair.ticks();
  EXPECT_EQ(repair.session.links.stm32.AdapterState, 2);
  EXPECT_EQ(repair.host.status(), "");
  EXPECT_EQ(repair.device.opens, 0);

  MonitorRig noMap;
  noMap.device.alternateNames = {"no map here"};
  noMap.ticks();
  EXPECT_EQ(noMap.session.links.stm32.AdapterState, 2);
  EXPECT_EQ(noMap.host.status(), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(noMap.device.left);

  MonitorRig unnamed;
  unnamed.device.product.clear();
  unnamed.ticks();
  EXPECT_EQ(unnamed.session.links.stm32.AdapterState, 0);
  EXPECT_EQ(unnamed.device.opens, 0);
}

}  // namespace
}  // namespace orx
