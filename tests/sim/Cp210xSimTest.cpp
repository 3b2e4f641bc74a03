// The older ESC behind the CP210x adapter: echo, baud, dump, settings,
// protections.
#include <gtest/gtest.h>

#include <chrono>

#include "SimFixture.h"

namespace orx::simtest {
namespace {

using Esc = sim::Cp210xEsc;

// Writes `command` and returns its echo followed by up to `replyBytes` more.
Bytes send(PtyClient& line, const Bytes& command, std::size_t replyBytes, int timeoutMs = 1000) {
  return line.exchange(command, command.size() + replyBytes, timeoutMs);
}

Bytes withEcho(const Bytes& command, const Bytes& reply) {
  Bytes all = command;
  all.insert(all.end(), reply.begin(), reply.end());
  return all;
}

TEST(Cp210xSim, EchoesEveryByteAndAnswersOnlyAtItsBaud) {
  sim::Cp210xConfig config;
  config.baud = 4800;
  config.hardware = 0x0A;
  auto esc = startSim(config);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path(), 9600));
  EXPECT_EQ(esc->exportLine(), "ORX_VIRTUAL_PORTS='VID_10C4&PID_EA60=" + esc->path() + "'");
  // the program's baud cycle: only 4800 gets an answer, every rate the echo
  for (const unsigned baud : {9600u, 1200u, 4800u, 19200u}) {
    ASSERT_TRUE(line.setBaud(baud));
    const Bytes got = send(line, {0xD4}, 2, baud == 4800 ? 1000 : 150);
    if (baud == 4800) {
      EXPECT_EQ(got, (Bytes{0xD4, 0xD5, 0x0A})) << baud;
    } else {
      EXPECT_EQ(got, Bytes{0xD4}) << baud;
    }
  }
  // a setting command at the wrong rate changes nothing
  ASSERT_TRUE(line.setBaud(9600));
  EXPECT_EQ(send(line, {0xA1}, 1, 150), Bytes{0xA1});
  EXPECT_EQ(esc->withCp210x([](Esc& m) { return m.settings().propellerHold; }), 0xA0);
}

TEST(Cp210xSim, IdentifyCarriesHardwareAndVersion) {
  sim::Cp210xConfig config;
  config.hardware = 0x0A;
  config.version = {0x01, 0x07, 12};
  auto esc = startSim(config);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  const Bytes got = send(line, {0xD7}, 7);
  ASSERT_EQ(got.size(), 8u);
  EXPECT_EQ(got[0], 0xD7);  // echo
  EXPECT_EQ(got[1 + 2], 0x0A);
  EXPECT_EQ(got[1 + 3], 0x01);
  EXPECT_EQ(got[1 + 4], 0x07);
  EXPECT_EQ(got[1 + 5], 12);
  EXPECT_TRUE(line.read(1, 100).empty());
}

TEST(Cp210xSim, DumpPlacesEverySettingWhereTheReaderLooks) {
  sim::Cp210xConfig config;
  config.factory.propellerHold = 0xA1;
  config.factory.motor = 0x17;
  config.factory.calibration = 0xF2;
  config.factory.rangeMin2 = 2 * 1200;
  config.factory.rangeMax2 = 2 * 2000;
  config.factory.acceleration = 3;
  config.factory.overload = 117;
  config.factory.stall = 123;
  config.factory.adapter = 0xE6;
  auto esc = startSim(config);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  ASSERT_TRUE(line.write({0x02}));
  const Bytes all = line.readUntilSilence(50);
  ASSERT_EQ(all.size(), 32u);
  const Bytes d(all.begin() + 1, all.end());
  EXPECT_EQ(d[0], 0xA1);
  EXPECT_EQ(d[2], 0x17);
  EXPECT_EQ(d[13], 0xF2);
  EXPECT_EQ(d[18] * 128 + (d[16] >> 1), 1200);
  EXPECT_EQ(d[22] * 128 + (d[20] >> 1), 2000);
  EXPECT_EQ((d[24] & 0x0F) - 1, 2);
  EXPECT_EQ(d[25], 0xF8);
  EXPECT_EQ(d[26], 5);
  EXPECT_EQ(d[27], 0xF9);
  EXPECT_EQ(d[28], 117);
  EXPECT_EQ(d[29], 123);
  EXPECT_EQ(d[30], 0xE6);

  esc->withCp210x([](Esc& m) { m.setOverloadMarker(false); });
  ASSERT_TRUE(line.write({0x02}));
  const Bytes plain = line.readUntilSilence(50);
  ASSERT_EQ(plain.size(), 32u);
  EXPECT_NE(plain[1 + 25], 0xF8);
  EXPECT_EQ(plain[1 + 27], 123);  // stall moves up without the marker
  EXPECT_EQ(plain[1 + 30], 0xE6);
}

TEST(Cp210xSim, SettingCommandsAreAcknowledgedAndShowInTheNextDump) {
  auto esc = startSim(sim::Cp210xConfig{});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  for (const std::uint8_t code : {0xA1, 0x18, 0x3D, 0x42, 0x63, 0x70, 0x81, 0xC1, 0xB3, 0xE2, 0xF2, 0xE7}) {
    EXPECT_EQ(send(line, {code}, 1), withEcho({code}, {1})) << int(code);
  }
  // range 1150..2100 us as the program frames it, acceleration entry 3, overload STANDARD, stall off
  const std::vector<Bytes> pairs{{0xF3, (2 * 1150) & 0xFF}, {0xF4, 1150 >> 7}, {0xF5, (2 * 2100) & 0xFF},
                                 {0xF6, 2100 >> 7},         {0xF7, 4},         {0xF9, 117},
                                 {0xF9, 123}};
  for (const Bytes& pair : pairs) EXPECT_EQ(send(line, pair, 1), withEcho(pair, {1})) << int(pair[0]);

  ASSERT_TRUE(line.write({0x02}));
  const Bytes all = line.readUntilSilence(50);
  ASSERT_EQ(all.size(), 32u);
  const Bytes d(all.begin() + 1, all.end());
  EXPECT_EQ(d[0], 0xA1);
  EXPECT_EQ(d[2], 0x18);
  EXPECT_EQ(d[3], 0x3D);
  EXPECT_EQ(d[4], 0x42);
  EXPECT_EQ(d[6], 0x63);
  EXPECT_EQ(d[7], 0x70);
  EXPECT_EQ(d[8], 0x81);
  EXPECT_EQ(d[10], 0xC1);
  EXPECT_EQ(d[11], 0xB3);
  EXPECT_EQ(d[12], 0xE2);
  EXPECT_EQ(d[13], 0xF2);
  EXPECT_EQ(d[18] * 128 + (d[16] >> 1), 1150);
  EXPECT_EQ(d[22] * 128 + (d[20] >> 1), 2100);
  EXPECT_EQ((d[24] & 0x0F) - 1, 3);
  EXPECT_EQ(d[28], 117);
  EXPECT_EQ(d[29], 123);
  EXPECT_EQ(d[30], 0xE7);

  // defaults bring the factory dump back
  EXPECT_EQ(send(line, {0xDE}, 1), withEcho({0xDE}, {1}));
  const sim::Cp210xSettings factory = esc->withCp210x([](Esc& m) { return m.config().factory; });
  EXPECT_TRUE(esc->withCp210x([&](Esc& m) { return m.settings() == factory; }));
}

TEST(Cp210xSim, ProtectionsReadAndClear) {
  sim::Cp210xConfig config;
  config.protections = {0xAA, 0x00, 0xAA, 0x00, 0xAA};
  auto esc = startSim(config);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  ASSERT_TRUE(line.write({0xD8}));
  EXPECT_EQ(line.readUntilSilence(200), (Bytes{0xD8, 0xAA, 0x00, 0xAA, 0x00, 0xAA}));
  ASSERT_TRUE(line.write({0xD9}));
  const Bytes cleared = line.readUntilSilence(200);
  ASSERT_GE(cleared.size(), 2u);
  EXPECT_EQ(cleared[1], 0xFF);
  ASSERT_TRUE(line.write({0xD8}));
  EXPECT_EQ(line.readUntilSilence(200), (Bytes{0xD8, 0, 0, 0, 0, 0}));
}

TEST(Cp210xSim, EscOffTheWireLeavesOnlyTheEcho) {
  auto esc = startSim(sim::Cp210xConfig{});
  esc->withCp210x([](Esc& m) { m.setEscConnected(false); });
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(send(line, {0xD4}, 2, 150), Bytes{0xD4});
  esc->withCp210x([](Esc& m) { m.setEscConnected(true); });
  EXPECT_EQ(send(line, {0xD4}, 2).size(), 3u);
}

TEST(Cp210xSim, PacedLineTakesTheTimeOfItsBaud) {
  sim::Cp210xConfig config;
  config.baud = 1200;
  auto esc = startSim(config);
  esc->setLinePacing(true);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path(), 1200));
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(line.write({0x02}));
  const Bytes dump = line.readUntilSilence(100);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(dump.size(), 32u);
  // 32 bytes of ten bits at 1200 baud: about 267 ms
  EXPECT_GE(took, std::chrono::milliseconds(250));
  EXPECT_LT(took, std::chrono::milliseconds(1500));
}

TEST(Cp210xSim, FaultsApplyOnTopOfTheEcho) {
  auto esc = startSim(sim::Cp210xConfig{});
  esc->addFault({sim::Command::SetValue, sim::FaultKind::WrongReply, 1, 0});
  esc->addFault({sim::Command::Identify, sim::FaultKind::ShortReply, 1, 0});
  esc->addFault({sim::Command::DumpSettings, sim::FaultKind::Vanish, 1, 10});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  const Bytes wrong = send(line, {0x80}, 1);
  ASSERT_EQ(wrong.size(), 2u);
  EXPECT_NE(wrong[1], 1);
  EXPECT_EQ(send(line, {0x80}, 1), withEcho({0x80}, {1}));
  EXPECT_EQ(send(line, {0xD7}, 7, 300).size(), 1u + 3u);
  ASSERT_TRUE(line.write({0x02}));
  const Bytes partial = line.readUntilSilence(100, 1000);
  EXPECT_EQ(partial.size(), 1u + 10u);  // the echo, then ten bytes of the dump
  EXPECT_TRUE(line.hungUp());
  EXPECT_FALSE(esc->present());
}

}  // namespace
}  // namespace orx::simtest
