// End to end against the project's simulated CP210x ESC (baud-sensitive, with
// the adapter's echo): the monitor finds it, reads its dump, and a send
// changes the ESC's own settings.
#include <gtest/gtest.h>

#include "FlowRig.h"
#include "protocol/ProtectionsFlow.h"
#include "protocol/SendSettingsFlow.h"
#include "tools/SimulatedEsc.h"

namespace orx::test {
namespace {

TEST(Cp210xSim, AutomaticReadThenSendChangesTheEscSettings) {
  sim::SimulatedEsc esc{sim::Cp210xConfig{}};
  ASSERT_TRUE(esc.start()) << esc.error();
  Rig rig(esc.path(), "");
  ASSERT_TRUE(rig.tickUntil([&] { return rig.host.status() == "READ SETTINGS COMPLETED"; }, 6));
  EXPECT_EQ(rig.host.text(ctl::FirmwareVersion), "A.01.07.12");
  EXPECT_EQ(rig.session.hardwareCode, 15);

  auto dump = [&] { return esc.withCp210x([](sim::Cp210xEsc& m) { return m.dump(); }); };
  const uint8_t driveCode = dump().at(7);
  ASSERT_TRUE(driveCode >= 0x70 && driveCode <= 0x72);
  EXPECT_EQ(rig.host.snapshot().selection(ctl::DriveFrequency), 0x72 - driveCode);

  const int wanted = (0x72 - driveCode + 1) % 3;
  rig.host.shared.update([&](DialogState& s) { s.select(ctl::DriveFrequency, wanted); });
  EXPECT_EQ(runSendSettings(rig.session, rig.host), SendOutcome::Updated);
  EXPECT_EQ(rig.host.status(), "SETTINGS UPDATED");
  EXPECT_EQ(dump().at(7), 0x72 - wanted);
}

// The raw hardware byte decides the J7QX refusal and the LOAD step; reading
// the protection records in between must not make the send forget it.
TEST(Cp210xSim, ProtectionsReadKeepsTheRawHardwareByteForTheSend) {
  for (uint8_t hardware : {uint8_t{10}, uint8_t{12}}) {
    sim::Cp210xConfig config;
    config.hardware = hardware;
    sim::SimulatedEsc esc{config};
    ASSERT_TRUE(esc.start()) << esc.error();
    Rig rig(esc.path(), "");
    ASSERT_TRUE(rig.tickUntil([&] { return rig.host.status() == "READ SETTINGS COMPLETED"; }, 6));
    ASSERT_TRUE(runReadProtections(rig.session, rig.host).answered);
    esc.clearReceived();
    rig.host.shared.update([](DialogState& s) { s.selectText(ctl::DriveFrequency, "PRECISION"); });
    if (hardware == 12) {
      EXPECT_EQ(runSendSettings(rig.session, rig.host), SendOutcome::Refused);
      EXPECT_TRUE(esc.received().empty());
      continue;
    }
    EXPECT_EQ(runSendSettings(rig.session, rig.host), SendOutcome::Updated);
    for (uint8_t b : esc.received()) EXPECT_FALSE(b >= 0xE5 && b <= 0xE7) << int(b);  // no LOAD step
  }
}

}  // namespace
}  // namespace orx::test
