// The monitor tick: the alternation of open attempts, the DFU search every
// third tick with nothing plugged in, the CP210x baud cycle with a silent ESC,
// REPAIR MODE boot polling with its seven silent polls, SkipAutoRead, and the
// adapter square following a port that goes away.
#include <gtest/gtest.h>

#include <algorithm>

#include "FakeCp210xEsc.h"
#include "FlowRig.h"
#include "protocol/FlowSteps.h"

namespace orx::test {
namespace {

TEST(MonitorCadence, NothingPluggedSearchesForDfuEveryThirdTick) {
  Rig rig("", "");
  std::vector<int> activeLinks;
  for (int i = 0; i < 9; ++i) {
    rig.tick();
    activeLinks.push_back(rig.session.links.ActiveLink);
  }
  EXPECT_EQ(activeLinks, (std::vector<int>{1, 0, 0, 1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(rig.host.dfuSearches, 3);
  EXPECT_FALSE(rig.adapterGreen());
  EXPECT_FALSE(rig.deviceGreen());
}

TEST(MonitorCadence, FoundDfuDeviceTurnsTheAdapterSquareGreen) {
  Rig rig("", "");
  rig.host.dfuFound = [] { return true; };
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.host.indicatorCalls, 0);
  rig.tick();
  EXPECT_EQ(rig.host.dfuSearches, 1);
  EXPECT_EQ(rig.session.links.stm32.AdapterState, 2);
  EXPECT_GE(rig.host.indicatorCalls, 1);
}

TEST(MonitorCp210x, SilentEscCyclesTheBaudWithTwoGraceTicks) {
  FakeCp210xEsc esc;
  esc.setAnswering(false);
  Rig rig(esc.path(), "");
  for (int i = 0; i < 11; ++i) rig.tick();
  EXPECT_TRUE(rig.adapterGreen());
  EXPECT_FALSE(rig.deviceGreen());

  std::vector<int> pingRates;
  const Bytes got = esc.peer().received();
  const std::vector<int> rates = esc.peer().ratesSeen();
  for (size_t i = 0; i < got.size() && i < rates.size(); ++i)
    if (got[i] == 0xD4) pingRates.push_back(rates[i]);
  // Four pings at the starting rate (the port opened, two grace ticks, 9600
  // chosen again), then one rate per tick.
  const std::vector<int> expected{9600, 9600, 9600, 9600, 1200, 4800, 19200, 9600, 1200};
  ASSERT_GE(pingRates.size(), expected.size());
  EXPECT_EQ(std::vector<int>(pingRates.begin(), pingRates.begin() + expected.size()), expected);
  // A silent ESC blanks the controls on every tick.
  EXPECT_EQ(rig.host.text(ctl::FirmwareVersion), "");
}

TEST(MonitorCp210x, AnsweringEscStopsTheCycleAtItsRate) {
  FakeCp210xEsc esc;
  esc.setAnswering(false);
  Rig rig(esc.path(), "");
  ASSERT_TRUE(rig.tickUntil([&] { return rig.session.links.cp210x.baud() == 1200; }, 10));
  esc.setAnswering(true);
  ASSERT_TRUE(rig.tickUntil([&] { return rig.deviceGreen(); }, 4));
  const int baud = rig.session.links.cp210x.baud();
  for (int i = 0; i < 4; ++i) rig.tick();
  EXPECT_EQ(rig.session.links.cp210x.baud(), baud);
  EXPECT_EQ(rig.session.links.cp210x.BaudStep, 0);
  EXPECT_EQ(rig.host.postedReads, 1);
}

TEST(MonitorCp210x, SkipAutoReadIdentifiesWithoutReading) {
  FakeCp210xEsc esc;
  Rig rig(esc.path(), "");
  rig.session.SkipAutoRead = true;
  ASSERT_TRUE(rig.tickUntil([&] { return rig.deviceGreen(); }, 4));
  EXPECT_EQ(rig.host.text(ctl::FirmwareVersion), "B.02.15.07");
  EXPECT_EQ(rig.host.postedReads, 0);
  EXPECT_FALSE(rig.session.SkipAutoRead);

  // Set again while the ESC answers: identified once more, still no read.
  setText(rig.host, ctl::FirmwareVersion, "");
  rig.session.SkipAutoRead = true;
  rig.tick();
  EXPECT_EQ(rig.host.text(ctl::FirmwareVersion), "B.02.15.07");
  EXPECT_EQ(rig.host.postedReads, 0);
}

TEST(MonitorCp210x, RepairModeSevenSilentBootPollsTurnDeviceRed) {
  FakeCp210xEsc esc;
  esc.setDump(sampleCp210xDump());
  Rig rig(esc.path(), "");
  ASSERT_TRUE(rig.tickUntil([&] { return rig.host.status() == "READ SETTINGS COMPLETED"; }, 6));
  rig.setRepairMode(true);
  const Bytes early = esc.peer().received();
  const size_t pingsBefore = std::count(early.begin(), early.end(), 0xD4);

  for (int i = 0; i < 6; ++i) rig.tick();
  EXPECT_TRUE(rig.deviceGreen());
  EXPECT_EQ(rig.session.SilenceCount, 6);
  EXPECT_EQ(rig.host.text(ctl::FirmwareVersion), "B.02.15.07");
  rig.tick();
  EXPECT_FALSE(rig.deviceGreen());
  EXPECT_EQ(rig.session.links.cp210x.DeviceState, 1);
  EXPECT_EQ(rig.session.SilenceCount, 0);
  EXPECT_EQ(rig.host.text(ctl::FirmwareVersion), "");
  const Bytes got = esc.peer().received();
  EXPECT_EQ(static_cast<size_t>(std::count(got.begin(), got.end(), 0xD4)), pingsBefore);  // polled, never pinged
  EXPECT_GE(std::count(got.begin(), got.end(), 0xD6), 7);

  // The boot loader answers: identified again, no settings read.
  esc.setBootLoader(true);
  const int posted = rig.host.postedReads;
  ASSERT_TRUE(rig.tickUntil([&] { return rig.deviceGreen(); }, 6));
  EXPECT_EQ(rig.host.text(ctl::FirmwareVersion), "B.02.15.07");
  EXPECT_EQ(rig.host.postedReads, posted);
}

TEST(MonitorCp210x, UnpluggedAdapterClosesLinkAndBlanksControls) {
  auto esc = std::make_unique<FakeCp210xEsc>();
  esc->setDump(sampleCp210xDump());
  Rig rig(esc->path(), "");
  ASSERT_TRUE(rig.tickUntil([&] { return rig.host.status() == "READ SETTINGS COMPLETED"; }, 6));
  esc->peer().unplug();
  ASSERT_TRUE(rig.tickUntil([&] { return !rig.adapterGreen(); }, 4));
  EXPECT_FALSE(rig.deviceGreen());
  EXPECT_FALSE(rig.session.links.cp210x.isOpen());
  const DialogState s = rig.host.snapshot();
  EXPECT_EQ(s.text(ctl::FirmwareVersion), "");
  EXPECT_EQ(s.selection(ctl::DriveFrequency), -1);
}

}  // namespace
}  // namespace orx::test
