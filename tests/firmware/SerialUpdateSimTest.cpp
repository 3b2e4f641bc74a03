// The whole update against the simulated ESC behind a simulated CP210x adapter:
// the real link code on a pseudo-terminal, the boot loader of the simulator,
// then the factory defaults and the settings read that follow.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "FakeBootLoader.h"
#include "FlowFakes.h"
#include "base/ControlIds.h"
#include "firmware/SessionUpdateHooks.h"
#include "link/UsbIds.h"
#include "tests/support/RecordingHost.h"
#include "tools/SimulatedEsc.h"

using namespace orx;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

class SimUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.start()) << sim.error();
    session = std::make_unique<DeviceSession>(fixedPathOpener(sim.path()), fixedPathOpener(sim.path()));
    ASSERT_EQ(session->links.cp210x.OpenLink(kCp210xId), 0);
    // As the monitor leaves it once the ESC answered.
    session->links.ActiveLink = EscLinks::kCp210x;
    session->links.cp210x.AdapterState = 2;
    session->links.cp210x.DeviceState = 2;
    session->hardwareCode = 69;
    file = fs::temp_directory_path() / ("D_sim_" + std::to_string(::getpid()) + ".orx");
  }
  void TearDown() override {
    sim.stop();
    fs::remove(file);
  }
  void chooseImage(const std::vector<uint8_t>& bytes) {
    std::ofstream(file, std::ios::binary) << test::OrxText(bytes);
    chooser.path = file.string();
  }
  std::string status() { return host.status(); }

  sim::SimulatedEsc sim{sim::Cp210xConfig{}};
  std::unique_ptr<DeviceSession> session;
  test::RecordingHost host;
  test::FixedChooser chooser;
  fs::path file;
};

}  // namespace

TEST_F(SimUpdate, EscHoldsExactlyTheImageThenDefaultsAndReadFollow) {
  const std::vector<uint8_t> bytes = test::MakeImageBytes({256, 256, 100, 0, 31});
  chooseImage(bytes);
  EXPECT_EQ(UpdateFirmwareSerial(*session, host, chooser), SerialUpdateResult::Updated);
  EXPECT_EQ(sim.withCp210x([](sim::Cp210xEsc& esc) { return esc.firmwareImage(); }), bytes);
  EXPECT_EQ(host.postedReads, 1);
  EXPECT_EQ(status(), "FIRMWARE UPDATED");
  EXPECT_TRUE(session->SkipAutoRead);
  EXPECT_EQ(host.periods, std::vector<int>{500});
  EXPECT_EQ(host.boxes.shown.size(), 1u);  // only "Do you wish to continue?"
}

TEST_F(SimUpdate, RefusalsAreRepeatedThenAChecksumErrorClosesTheLink) {
  const std::vector<uint8_t> bytes = test::MakeImageBytes({64, 64, 64});
  chooseImage(bytes);
  sim.setBootBlockReplies(0, {0x42, 0x42, 0x42, 0x11});
  sim.setBootBlockReplies(1, {0x12});
  EXPECT_EQ(UpdateFirmwareSerial(*session, host, chooser), SerialUpdateResult::Failed);
  ASSERT_EQ(host.boxes.shown.size(), 2u);
  EXPECT_EQ(host.boxes.shown[1].text,
            "Update Error: Data Transfer CRC Checksum - \nPlease Reconnect and Power Cycle Device.");
  EXPECT_EQ(status(), "FIRMWARE UPDATE FAILED");
  EXPECT_FALSE(session->links.cp210x.isOpen());
  EXPECT_EQ(session->links.cp210x.AdapterState, 0);
  EXPECT_EQ(host.postedReads, 0);
  EXPECT_EQ(sim.withCp210x([](sim::Cp210xEsc& esc) { return esc.bootLoaderReceived(); }),
            std::vector<uint8_t>(bytes.begin(), bytes.begin() + 66));
}

TEST_F(SimUpdate, UnconfirmedDefaultsAfterTheUpdateAreToldAndTheSettingsStillRead) {
  chooseImage(test::MakeImageBytes({64}));
  sim.addFault(sim::Fault{sim::Command::RestoreDefaults, sim::FaultKind::Silence, -1});
  EXPECT_EQ(UpdateFirmwareSerial(*session, host, chooser), SerialUpdateResult::Updated);
  EXPECT_EQ(status(), "DEFAULT SETTINGS FAILED");
  EXPECT_EQ(host.postedReads, 1);
}

// A file saved by a text editor: line ends, a final newline, blanks.
TEST_F(SimUpdate, EditorLineEndsAndBlanksDecodeToTheSameImage) {
  const std::vector<uint8_t> bytes = test::MakeImageBytes({64, 30});
  const std::string hex = test::OrxText(bytes);
  std::string text;
  for (size_t at = 0; at < hex.size(); at += 40) text += hex.substr(at, 40) + (at % 80 == 0 ? " \t" : "\r\n");
  std::ofstream(file, std::ios::binary) << text << "\r\n";
  chooser.path = file.string();
  EXPECT_EQ(UpdateFirmwareSerial(*session, host, chooser), SerialUpdateResult::Updated);
  EXPECT_EQ(sim.withCp210x([](sim::Cp210xEsc& esc) { return esc.firmwareImage(); }), bytes);
}

TEST_F(SimUpdate, FileWhoseLastBlockRunsPastItsEndIsRefusedBeforeAnyBlockIsSent) {
  std::vector<uint8_t> bytes = test::MakeImageBytes({64, 64});
  bytes.resize(bytes.size() - 10);
  chooseImage(bytes);
  EXPECT_EQ(UpdateFirmwareSerial(*session, host, chooser), SerialUpdateResult::FileDamaged);
  ASSERT_EQ(host.boxes.shown.size(), 1u);  // before "Do you wish to continue?"
  EXPECT_EQ(host.boxes.shown[0].text, kFileDamagedText);
  EXPECT_TRUE(sim.withCp210x([](sim::Cp210xEsc& esc) { return esc.bootLoaderReceived(); }).empty());
  EXPECT_TRUE(session->links.cp210x.isOpen());
}
