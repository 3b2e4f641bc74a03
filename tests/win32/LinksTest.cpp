// Both links, the program's lookup and one settings read, through wine COM
// ports against the simulated ESCs.
#include <gtest/gtest.h>

#include <chrono>

#include "PeerPorts.h"
#include "base/ControlIds.h"
#include "link/UsbIds.h"
#include "protocol/BlockFrame.h"
#include "protocol/Cp210xProtocol.h"
#include "protocol/ReadSettingsFlow.h"
#include "protocol/Stm32Protocol.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/StartControls.h"

namespace orx {
namespace {

TEST(Win32Links, TheCp210xLinkIdentifiesAndDumpsThroughTheComPort) {
  EscLinks links(fixedPathOpener(test::peerPort(test::kCp210xPeer)), PortOpener{});
  links.ActiveLink = EscLinks::kCp210x;
  ASSERT_EQ(links.cp210x.OpenLink(kCp210xId), 0);
  EXPECT_EQ(cp210x::Ping(links, cp210x::kPingMs), cp210x::PingResult::Answered);
  const Cp210xIdentity id = cp210x::Identify(links);
  ASSERT_TRUE(id.answered);
  EXPECT_EQ(id.versionText, "A.01.07.12");
  const cp210x::DumpResult dump = cp210x::DumpSettings(links);
  EXPECT_TRUE(dump.answered);
  EXPECT_FALSE(dump.bytes.empty());
}

TEST(Win32Links, TheStm32LinkReadsTheBlockThroughTheComPort) {
  ST32UsbUart link(fixedPathOpener(test::peerPort(test::kNvqPeer)));
  ASSERT_EQ(link.OpenLink(kStm32Id), 0);
  EXPECT_EQ(stm32::Ping(link), stm32::PingResult::Answered);
  const Stm32Identity id = stm32::Identify(link);
  ASSERT_TRUE(id.answered);
  EXPECT_EQ(id.versionText, "D.01.03.05");
  const int length = stm32::BlockLength(link, id.LayoutFlag);
  EXPECT_EQ(length, 44);
  const stm32::BlockRead read = stm32::ReadBlock(link, length);
  ASSERT_TRUE(read.written);
  EXPECT_EQ(BlockFromReply(read.reply, id.LayoutFlag).count, 44);
}

// The program's own lookup (a virtual port naming the COM port) and its read.
TEST(Win32Links, ASettingsReadFillsTheControls) {
  const std::string port = test::peerPort(test::kNvqPeer);
  DiscoveryRoots roots;
  roots.virtualPorts = std::string(kStm32Id) + "=" + port;
  DeviceSession session(PortOpener{}, systemPortOpener(roots));
  session.links.ActiveLink = EscLinks::kStm32;
  ASSERT_EQ(session.links.stm32.OpenLink(kStm32Id), 0);
  test::RecordingHost host;
  test::fillStartLists(host.shared);
  EXPECT_EQ(runStm32Read(session, host), ReadOutcome::Completed);
  EXPECT_EQ(host.status(), "READ SETTINGS COMPLETED");
  EXPECT_EQ(host.text(ctl::FirmwareVersion), "D.01.03.05");
  EXPECT_EQ(host.text(ctl::McuId), "38.4E.50.51.31.2B.00.37");
  EXPECT_GE(host.snapshot().selection(ctl::DriveFrequency), 0);
  EXPECT_EQ(session.kept.length, 44);
}

TEST(Win32Links, AWriteToAVanishedDeviceFailsAtOnce) {
  ST32UsbUart link(fixedPathOpener(test::peerPort(test::kVanishPeer)));
  ASSERT_EQ(link.OpenLink(kStm32Id), 0);
  stm32::Ping(link);  // the simulated ESC leaves while it answers
  const auto start = std::chrono::steady_clock::now();
  const uint8_t command[1] = {0xD7};
  EXPECT_FALSE(link.Write(command));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
}

}  // namespace
}  // namespace orx
