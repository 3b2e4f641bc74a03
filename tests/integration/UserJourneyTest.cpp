// What a user does at the bench, through the window's commands, against the
// simulated ESC: save the settings, change them, load the file and send it;
// update the firmware of an older ESC.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "device/DeviceManager.h"
#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/PortOpeners.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/StartControls.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "tools/SimulatedEsc.h"

using namespace orx;
using namespace orx::test;
using namespace std::chrono;
namespace fs = std::filesystem;

namespace {

struct Bench {
  SharedControls controls;
  RecordingPrompter prompter;
  FixedChooser files;
  std::unique_ptr<DeviceManager> manager;

  Bench() {
    prompter.rule = agreeing;
    fillStartLists(controls);
  }
  ~Bench() {
    if (manager) manager->stop();
  }
  std::string status() { return statusLine(controls); }
  bool waitStatus(const std::string& text, milliseconds limit = 10s) {
    return waitFor([&] { return status() == text; }, limit);
  }
};

// The name's first character matters to the firmware check, so the pid goes last.
fs::path tempFile(const std::string& stem, const std::string& extension) {
  return fs::temp_directory_path() / (stem + "_" + std::to_string(::getpid()) + extension);
}

}  // namespace

TEST(UserJourney, SaveChangeLoadAndSendTheSettingsOfAnNvqEsc) {
  sim::SimulatedEsc esc{sim::NvqConfig{}};
  ASSERT_TRUE(esc.start()) << esc.error();
  Bench b;
  b.manager = std::make_unique<DeviceManager>(b.controls, b.prompter, b.files, noPort(),
                                              onlyFor("VID_0483&PID_5740", esc.path()));
  b.manager->start();
  ASSERT_TRUE(b.waitStatus("READ SETTINGS COMPLETED"));
  const uint8_t heldFrequency = esc.withNvq([](sim::NvqEsc& e) { return e.block().at(2 + 5); });

  const fs::path file = tempFile("journey", ".cfg");
  b.files.path = file.string();
  b.manager->saveAdvancedSettings();
  ASSERT_TRUE(fs::exists(file));
  EXPECT_TRUE(b.prompter.copy().empty());

  // Change DRIVE FREQUENCY in the window, then load the file back: the file wins.
  const int saved = b.controls.read([](const DialogState& s) { return s.selection(ctl::DriveFrequency); });
  b.controls.update([&](DialogState& s) { s.select(ctl::DriveFrequency, (saved + 1) % 3); });
  b.manager->loadAdvancedSettings();
  EXPECT_EQ(b.status(), "SETTINGS LOADED - PLEASE SEND");
  EXPECT_EQ(b.controls.read([](const DialogState& s) { return s.selection(ctl::DriveFrequency); }), saved);

  // A changed file, loaded and sent, reaches the ESC.
  std::string text = readFile(file.string());
  const std::vector<std::string> entries = lists::initialEntries(ctl::DriveFrequency);
  const std::string from = "DRIVE FREQUENCY:  " + entries[static_cast<size_t>(saved)] + "\r\n";
  const int wanted = (saved + 2) % 3;
  const std::string to = "DRIVE FREQUENCY:  " + entries[static_cast<size_t>(wanted)] + "\r\n";
  ASSERT_NE(text.find(from), std::string::npos);
  text.replace(text.find(from), from.size(), to);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
  b.manager->loadAdvancedSettings();
  b.manager->sendSettings();
  ASSERT_TRUE(b.waitStatus("SETTINGS UPDATED"));
  EXPECT_EQ(esc.withNvq([](sim::NvqEsc& e) { return static_cast<int>(e.block().at(2 + 5)); }), wanted);
  EXPECT_NE(wanted, heldFrequency);
  fs::remove(file);
}

TEST(UserJourney, UpdateTheFirmwareOfAnOlderEscFromTheWindow) {
  sim::SimulatedEsc esc{sim::Cp210xConfig{}};  // hardware byte 0x0A: code 15, "A" firmware
  ASSERT_TRUE(esc.start()) << esc.error();
  Bench b;
  b.manager = std::make_unique<DeviceManager>(b.controls, b.prompter, b.files,
                                              onlyFor("VID_10C4&PID_EA60", esc.path()), noPort());
  b.manager->start();
  ASSERT_TRUE(b.waitStatus("READ SETTINGS COMPLETED", 20s));

  // Two blocks: 3 and 2 payload bytes, each behind its big-endian length.
  const std::vector<uint8_t> image{0x00, 0x03, 0xA1, 0xB2, 0xC3, 0x00, 0x02, 0x0F, 0xF0};
  const fs::path file = tempFile("A_firmware", ".orx");
  {
    std::ofstream out(file, std::ios::binary);
    for (uint8_t byte : image) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02X", byte);
      out << pair;
    }
  }
  b.files.path = file.string();
  b.controls.update([](DialogState& s) { s.setText(ctl::StatusLine, ""); });
  b.manager->updateFirmware();
  ASSERT_TRUE(b.waitStatus("FIRMWARE UPDATED", 20s)) << b.status() << " / boxes: " << [&] {
    std::string all;
    for (const auto& m : b.prompter.copy()) all += m.text + " | ";
    return all;
  }();
  ASSERT_FALSE(b.files.requests.empty());
  EXPECT_EQ(b.files.requests[0].filter, "ORX (*.orx)|*.orx|Files (*.*)|*.*||");
  const auto boxes = b.prompter.copy();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes[0].text, "Do you wish to continue?");
  EXPECT_EQ(boxes[0].caption, "Update");
  EXPECT_TRUE(waitFor(
      [&] { return esc.withCp210x([](sim::Cp210xEsc& e) { return e.firmwareImage(); }) == image; }, 5s));
  // The buttons are usable again.
  EXPECT_TRUE(b.controls.read([](const DialogState& s) {
    return s.enabled(ctl::UpdateFirmware) && s.enabled(ctl::SendSettings) && s.enabled(ctl::DefaultSettings);
  }));
  fs::remove(file);
}
