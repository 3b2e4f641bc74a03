// The CP210x dialect against the simulated older ESC: echoing line, an ESC
// that only hears its own baud, settings commands that change its state.
#include <gtest/gtest.h>

#include "link/UsbIds.h"
#include "protocol/Cp210xProtocol.h"
#include "tools/SimulatedEsc.h"

namespace orx {
namespace {

struct SimCp210x {
  sim::SimulatedEsc esc;
  std::unique_ptr<EscLinks> links;
  explicit SimCp210x(sim::Cp210xConfig config = {}) : esc(config) {
    started = esc.start();
    DiscoveryRoots roots{"/nonexistent", "/dev", std::string(kCp210xId) + "=" + esc.path()};
    links = std::make_unique<EscLinks>(systemPortOpener(roots));
    links->ActiveLink = EscLinks::kCp210x;
  }
  bool started = false;
  template <class F>
  auto model(F&& f) {
    return esc.withCp210x(std::forward<F>(f));
  }
};

TEST(Cp210xAgainstSimulator, IdentifyDumpSetAndDefaults) {
  SimCp210x s;  // hardware byte 0x0A, "A.01.07.12"
  ASSERT_TRUE(s.started) << s.esc.error();
  ASSERT_EQ(s.links->cp210x.OpenLink(kCp210xId), 0);
  EXPECT_EQ(cp210x::Ping(*s.links, cp210x::kMonitorPingMs), cp210x::PingResult::Answered);

  const Cp210xIdentity id = cp210x::Identify(*s.links);
  ASSERT_TRUE(id.answered);
  EXPECT_EQ(id.versionText, "A.01.07.12");
  EXPECT_EQ(id.hardwareCode, 15);
  EXPECT_EQ(s.links->ReplyBuffer[2], 0x0A);  // the send's later checks read the raw byte here

  std::vector<size_t> indices;
  const cp210x::DumpResult dump = cp210x::DumpSettings(*s.links, [&](size_t i, uint8_t) { indices.push_back(i); });
  EXPECT_TRUE(dump.answered);
  EXPECT_EQ(dump.bytes, s.model([](sim::Cp210xEsc& m) { return m.dump(); }));
  EXPECT_EQ(indices.size(), dump.bytes.size());

  EXPECT_TRUE(cp210x::SetValue(*s.links, 0xA1));
  EXPECT_TRUE(cp210x::SetValuePair(*s.links, 0xF7, 3));
  EXPECT_EQ(s.model([](sim::Cp210xEsc& m) { return m.settings().propellerHold; }), 0xA1);
  EXPECT_EQ(s.model([](sim::Cp210xEsc& m) { return m.settings().acceleration; }), 3);
  EXPECT_FALSE(cp210x::SetValue(*s.links, 0x03));  // not a setting: no acknowledgement

  EXPECT_TRUE(cp210x::RestoreDefaults(*s.links));
  EXPECT_EQ(s.model([](sim::Cp210xEsc& m) { return m.settings().propellerHold; }), 0xA0);
}

TEST(Cp210xAgainstSimulator, ProtectionsReadAndClear) {
  SimCp210x s;
  ASSERT_TRUE(s.started) << s.esc.error();
  ASSERT_EQ(s.links->cp210x.OpenLink(kCp210xId), 0);
  const cp210x::ProtectionsResult read = cp210x::ReadProtections(*s.links);
  ASSERT_TRUE(read.answered);
  ASSERT_GE(read.bytes.size(), 5u);
  EXPECT_EQ(std::vector<uint8_t>(read.bytes.begin(), read.bytes.begin() + 5),
            (std::vector<uint8_t>{0x00, 0xAA, 0x00, 0x00, 0x00}));
  EXPECT_TRUE(cp210x::ProtectionsCleared(cp210x::ClearProtections(*s.links)));
  const cp210x::ProtectionsResult after = cp210x::ReadProtections(*s.links);
  ASSERT_GE(after.bytes.size(), 5u);
  EXPECT_EQ(after.bytes[1], 0x00);
}

TEST(Cp210xAgainstSimulator, BaudCycleFindsAnEscAt19200) {
  sim::Cp210xConfig config;
  config.baud = 19200;
  SimCp210x s(config);
  ASSERT_TRUE(s.started) << s.esc.error();
  UsbUart& link = s.links->cp210x;
  // The monitor's CP210x turn: open, ping, cycle.
  int ticks = 0;
  for (; ticks < 10 && link.DeviceState != 2; ++ticks) {
    ASSERT_EQ(link.OpenLink(kCp210xId), 0);
    if (cp210x::Ping(*s.links, cp210x::kMonitorPingMs) == cp210x::PingResult::Answered) link.DeviceState = 2;
    s.links->CycleTick();
  }
  EXPECT_EQ(link.DeviceState, 2);
  EXPECT_EQ(link.baud(), 19200);
  EXPECT_EQ(ticks, 7);  // 3 at 9600, then 1200, 4800, 19200
  EXPECT_EQ(link.BaudStep, 0);
}

TEST(Cp210xAgainstSimulator, BootRequestAnsweredOnceTheLoaderRuns) {
  SimCp210x s;
  ASSERT_TRUE(s.started) << s.esc.error();
  ASSERT_EQ(s.links->cp210x.OpenLink(kCp210xId), 0);
  EXPECT_EQ(cp210x::BootRequest(*s.links), cp210x::BootResult::NoByte);  // restarts into the loader
  EXPECT_EQ(cp210x::BootRequest(*s.links), cp210x::BootResult::BootLoader);
}

TEST(Cp210xAgainstSimulator, AdapterWithoutEscEchoesOnly) {
  SimCp210x s;
  ASSERT_TRUE(s.started) << s.esc.error();
  s.model([](sim::Cp210xEsc& m) { m.setEscConnected(false); });
  ASSERT_EQ(s.links->cp210x.OpenLink(kCp210xId), 0);
  EXPECT_EQ(cp210x::Ping(*s.links, cp210x::kMonitorPingMs), cp210x::PingResult::NoReply);
  EXPECT_FALSE(cp210x::SetValue(*s.links, 0xA1));
  const cp210x::DumpResult dump = cp210x::DumpSettings(*s.links);
  EXPECT_FALSE(dump.answered);
  s.esc.vanish();
  EXPECT_EQ(cp210x::Ping(*s.links, cp210x::kMonitorPingMs), cp210x::PingResult::LinkLost);
}

}  // namespace
}  // namespace orx
