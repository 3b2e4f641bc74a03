// The boxes that keep read, send and default from running, and REPAIR MODE:
// the NVQ series ESC sent into its boot loader until a DFU device shows up.
#include <gtest/gtest.h>

#include <algorithm>

#include "FakeCp210xEsc.h"
#include "FlowRig.h"
#include "protocol/DefaultsFlow.h"
#include "protocol/FlowTexts.h"
#include "protocol/RepairModeFlow.h"
#include "protocol/SendSettingsFlow.h"
#include "tools/SimulatedEsc.h"

namespace orx::test {
namespace {

const std::string kRepairRead = "ERROR Repair Mode is Checked - \nUncheck Repair Mode to Read Settings";
const std::string kRepairSend = "ERROR Repair Mode is Checked - \nUncheck Repair Mode to Send Settings";
const std::string kNoAdapter = "ADAPTER Connection Error - \nPlease Reconnect to PC.";
const std::string kNoDevice = "DEVICE Connection Error - \nPlease Reconnect and Power Cycle Device.";

std::vector<std::string> boxTexts(const Rig& rig) {
  std::vector<std::string> out;
  for (const Message& m : rig.host.boxes.shown) {
    EXPECT_EQ(m.caption, "ORX Device");
    EXPECT_EQ(m.icon, MsgIcon::Error);
    out.push_back(m.text);
  }
  return out;
}

TEST(Preconditions, EachCommandNamesWhatIsMissingAndSendsNothing) {
  FakeCp210xEsc esc;
  esc.setAnswering(false);
  Rig rig(esc.path(), "");
  EXPECT_EQ(runReadSettings(rig.session, rig.host), ReadOutcome::Refused);
  EXPECT_EQ(runDefaultSettings(rig.session, rig.host), ReadOutcome::Refused);
  EXPECT_EQ(runSendSettings(rig.session, rig.host), SendOutcome::Refused);
  EXPECT_EQ(boxTexts(rig), (std::vector<std::string>{kNoAdapter, kNoAdapter, kNoAdapter}));

  // Adapter open, ESC silent.
  rig.tick();
  rig.tick();
  ASSERT_TRUE(rig.adapterGreen());
  rig.host.boxes.shown.clear();
  const size_t sent = esc.peer().received().size();
  EXPECT_EQ(runReadSettings(rig.session, rig.host), ReadOutcome::Refused);
  EXPECT_EQ(runDefaultSettings(rig.session, rig.host), ReadOutcome::Refused);
  EXPECT_EQ(runSendSettings(rig.session, rig.host), SendOutcome::Refused);
  EXPECT_EQ(boxTexts(rig), (std::vector<std::string>{kNoDevice, kNoDevice, kNoDevice}));

  // REPAIR MODE comes first, whatever else is missing.
  rig.setRepairMode(true);
  rig.host.boxes.shown.clear();
  EXPECT_EQ(runReadSettings(rig.session, rig.host), ReadOutcome::Refused);
  EXPECT_EQ(runDefaultSettings(rig.session, rig.host), ReadOutcome::Refused);
  EXPECT_EQ(runSendSettings(rig.session, rig.host), SendOutcome::Refused);
  EXPECT_EQ(boxTexts(rig), (std::vector<std::string>{kRepairRead, kRepairRead, kRepairSend}));
  EXPECT_EQ(esc.peer().received().size(), sent);
  EXPECT_EQ(esc.defaultsRestored(), 0);
}

struct NvqRepairRig {
  NvqRepairRig() : esc(sim::NvqConfig{}) {
    EXPECT_TRUE(esc.start()) << esc.error();
    rig = std::make_unique<Rig>("", esc.path());
    rig->host.dfuFound = [this] { return !esc.present(); };
  }
  sim::SimulatedEsc esc;
  std::unique_ptr<Rig> rig;
};

TEST(RepairMode, NvqEscLeavesForItsBootLoaderAndIsFoundAsDfuDevice) {
  NvqRepairRig t;
  Rig& rig = *t.rig;
  ASSERT_TRUE(rig.tickUntil([&] { return rig.host.status() == "READ SETTINGS COMPLETED"; }, 6));
  rig.setRepairMode(true);
  EXPECT_EQ(runRepairModeClick(rig.session, rig.host), RepairOutcome::Enabled);
  EXPECT_FALSE(t.esc.present());
  const sim::Bytes got = t.esc.received();
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(sim::Bytes(got.end() - 2, got.end()), (sim::Bytes{0xD6, 0xD7}));
  EXPECT_EQ(rig.host.status(), "Repair Mode Enabled");
  EXPECT_EQ(rig.session.links.stm32.DeviceState, 1);
  EXPECT_FALSE(rig.deviceGreen());
  const DialogState s = rig.host.snapshot();
  EXPECT_EQ(s.text(ctl::FirmwareVersion), "");
  EXPECT_EQ(s.text(ctl::McuId), "");
  EXPECT_EQ(s.selection(ctl::DriveFrequency), -1);

  // While ticked the monitor does not probe the port it still holds.
  const size_t before = t.esc.received().size();
  for (int i = 0; i < 3; ++i) rig.tick();
  EXPECT_EQ(t.esc.received().size(), before);
  EXPECT_EQ(runSendSettings(rig.session, rig.host), SendOutcome::Refused);
}

TEST(RepairMode, NoDfuDeviceWithinTheLimitIsNamedOnTheStatusLine) {
  NvqRepairRig t;
  Rig& rig = *t.rig;
  rig.host.dfuFound = [] { return false; };
  rig.tick();  // port open, adapter square green
  rig.setRepairMode(true);
  const RepairTiming quick{std::chrono::milliseconds(300), std::chrono::milliseconds(20)};
  EXPECT_EQ(runRepairModeClick(rig.session, rig.host, quick), RepairOutcome::NotFound);
  EXPECT_EQ(rig.host.status(), "Repair Mode Failed - Boot Loader Not Found");
  EXPECT_GE(rig.host.dfuSearches, 5);
}

TEST(RepairMode, OnlyTheCp210xAdapterConnectedDoesNothing) {
  FakeCp210xEsc esc;
  esc.setDump(sampleCp210xDump());
  Rig rig(esc.path(), "");
  ASSERT_TRUE(rig.tickUntil([&] { return rig.host.status() == "READ SETTINGS COMPLETED"; }, 6));
  const size_t sent = esc.peer().received().size();
  rig.setRepairMode(true);
  EXPECT_EQ(runRepairModeClick(rig.session, rig.host), RepairOutcome::NotApplicable);
  EXPECT_EQ(esc.peer().received().size(), sent);
  EXPECT_EQ(rig.host.status(), "READ SETTINGS COMPLETED");
  EXPECT_EQ(rig.host.dfuSearches, 0);
}

}  // namespace
}  // namespace orx::test
