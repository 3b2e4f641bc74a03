#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "FakeBootLoader.h"
#include "FlowFakes.h"
#include "base/ControlIds.h"
#include "firmware/SerialFirmwareUpdate.h"
#include "tests/support/StartControls.h"

using namespace orx;
using namespace orx::test;
namespace fs = std::filesystem;

namespace {

constexpr int kButtons[] = {ctl::UpdateFirmware, ctl::DefaultSettings, ctl::SendSettings};

class UpdateFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orx_fwflow_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    prompter.events = &hooks.events;
    controls.update([](DialogState& s) {
      s.setText(ctl::FirmwareVersion, "D1.22");
      s.setText(ctl::StatusLine, "READ SETTINGS COMPLETED");
      s.setValue(ctl::Progress, 100);
      s.takeChanged();
    });
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Writes an .orx file and makes the dialog choose it.
  void choose(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << OrxText(bytes);
    chooser.path = path.string();
  }

  SerialUpdateResult run(int hardwareCode = 69) {
    return UpdateFirmwareSerial({controls, prompter, chooser, link, hooks, hardwareCode});
  }

  bool buttonsEnabled() {
    return controls.read([](const DialogState& s) {
      bool all = true;
      for (int id : kButtons) all = all && s.enabled(id);
      return all;
    });
  }
  bool buttonsDisabled() {
    return controls.read([](const DialogState& s) {
      bool none = true;
      for (int id : kButtons) none = none && !s.enabled(id);
      return none;
    });
  }
  std::string status() { return statusLine(controls); }
  bool repairMode() { return controls.read([](const DialogState& s) { return s.checked(ctl::RepairMode); }); }
  void setRepairMode(bool on) {
    controls.update([on](DialogState& s) { s.setChecked(ctl::RepairMode, on); });
  }
  // Nothing reached the ESC and the window was left as it was.
  void expectUntouched() {
    EXPECT_TRUE(link.calls.empty());
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_EQ(status(), "READ SETTINGS COMPLETED");
    for (const std::string& e : hooks.events) EXPECT_EQ(e, "box");
  }

  fs::path dir_;
  SharedControls controls;
  RecordingPrompter prompter;
  FixedChooser chooser;
  FakeBootLoader link;
  RecordingHooks hooks;
};

const Message kConfirm{"Update", MsgIcon::Warning, MsgButtons::OkCancel, "Do you wish to continue?"};
const Message kWrongFile{"ORX Device", MsgIcon::Error, MsgButtons::Ok,
                         "Incorrect Device Firmware Version.\r\nPlease Check File Before Updating."};

}  // namespace

TEST_F(UpdateFlow, SuccessDeliversTheImageThenDefaultsAndRestoresTheWindow) {
  const std::vector<uint8_t> bytes = MakeImageBytes({300, 300, 300});
  choose("D_1_23.orx", bytes);
  setRepairMode(true);
  std::vector<std::string> statusDuringTransfer;
  link.onWrite = [&] {
    EXPECT_TRUE(buttonsDisabled());
    statusDuringTransfer.push_back(status());
    EXPECT_LT(controls.read([](const DialogState& s) { return s.value(ctl::Progress); }), 100);
  };
  EXPECT_EQ(run(), SerialUpdateResult::Updated);
  EXPECT_EQ(link.accepted, bytes);
  EXPECT_EQ(prompter.shown, std::vector<Message>{kConfirm});
  EXPECT_EQ(statusDuringTransfer, (std::vector<std::string>{"TRANSFERRING...0%", "TRANSFERRING...33%",
                                                            "TRANSFERRING...66%"}));
  EXPECT_EQ(status(), "FIRMWARE UPDATED");
  EXPECT_FALSE(repairMode());
  EXPECT_TRUE(buttonsEnabled());
  EXPECT_EQ(hooks.events, (std::vector<std::string>{"box", "skipAutoRead", "defaults", "monitor 500"}));
  // The ESC gets a second after the last block before the defaults exchange.
  ASSERT_FALSE(link.calls.empty());
  EXPECT_EQ(link.calls.back().kind, LinkCall::Kind::Wait);
  EXPECT_EQ(link.calls.back().value, 1000);
  ASSERT_EQ(chooser.requests.size(), 1u);
  EXPECT_EQ(chooser.requests[0].filter, "Files (*.*)|*.*||");
  EXPECT_EQ(chooser.requests[0].kind, FileDialogRequest::Kind::Open);
  EXPECT_EQ(chooser.requests[0].defaultExtension, "");
}

TEST_F(UpdateFlow, ProgressBarIsScaledAndStopsAtItsRange) {
  // 96 % of the image acknowledged before the last block: 96 * 1.05 = 100.8.
  const std::vector<uint8_t> bytes = MakeImageBytes({94, 2});
  choose("D.orx", bytes);
  std::vector<int> values;
  link.onWrite = [&] { values.push_back(controls.read([](const DialogState& s) { return s.value(ctl::Progress); })); };
  EXPECT_EQ(run(), SerialUpdateResult::Updated);
  EXPECT_EQ(values, (std::vector<int>{0, 100}));
  EXPECT_EQ(TransferProgressValue(20), 21);
  EXPECT_EQ(TransferProgressValue(50), 52);
  EXPECT_EQ(TransferProgressValue(95), 99);
}

TEST_F(UpdateFlow, FirmwareFamilyChoosesTheFilter) {
  controls.update([](DialogState& s) { s.setText(ctl::FirmwareVersion, "B2.01"); });
  EXPECT_EQ(run(), SerialUpdateResult::Cancelled);  // no path chosen
  ASSERT_EQ(chooser.requests.size(), 1u);
  EXPECT_EQ(chooser.requests[0].filter, "ORX (*.orx)|*.orx|Files (*.*)|*.*||");
  expectUntouched();
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(UpdateFlow, NoAdapterOrNoEscEndsSilently) {
  hooks.ready = false;
  choose("D.orx", MakeImageBytes({1}));
  EXPECT_EQ(run(), SerialUpdateResult::NotReady);
  EXPECT_TRUE(chooser.requests.empty());
  EXPECT_TRUE(prompter.shown.empty());
  expectUntouched();
}

TEST_F(UpdateFlow, WrongFileWithoutRepairModeIsRefused) {
  choose("B_1_00.orx", MakeImageBytes({1}));
  EXPECT_EQ(run(69), SerialUpdateResult::WrongFile);
  EXPECT_EQ(prompter.shown, std::vector<Message>{kWrongFile});
  expectUntouched();
}

TEST_F(UpdateFlow, RepairModeOverrideNeedsYes) {
  const Message question{"ORX Device", MsgIcon::Warning, MsgButtons::YesNo,
                         "Error: Incorrect Firmware version has been detected.\r\nPlease check file before "
                         "continuing.\r\n\t\t\t\t\t\t   Uploading incorrect Firmware may cause damage to the ESC and "
                         "will void the warrenty."};
  choose("D.orx", MakeImageBytes({4}));
  setRepairMode(true);
  prompter.answers = {MsgAnswer::No};
  EXPECT_EQ(run(7), SerialUpdateResult::WrongFile);
  EXPECT_EQ(prompter.shown, (std::vector<Message>{kWrongFile, question}));
  expectUntouched();

  prompter.shown.clear();
  prompter.answers = {MsgAnswer::Yes, MsgAnswer::Ok};
  EXPECT_EQ(run(7), SerialUpdateResult::Updated);
  EXPECT_EQ(prompter.shown, (std::vector<Message>{kWrongFile, question, kConfirm}));
  EXPECT_EQ(link.accepted, MakeImageBytes({4}));
}

TEST_F(UpdateFlow, UnreadableFileShowsTheReadErrorWithTheDefaultCaption) {
  chooser.path = (dir_ / "D_missing.orx").string();
  EXPECT_EQ(run(), SerialUpdateResult::FileError);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0], (Message{kDefaultCaption, MsgIcon::Error, MsgButtons::Ok,
                                        "Read Firmware File Error - \nPlease Reconnect and Power Cycle Device."}));
  expectUntouched();
}

TEST_F(UpdateFlow, OversizeFileIsRefusedBeforeTheQuestion) {
  const fs::path path = dir_ / "D_big.orx";
  std::ofstream(path, std::ios::binary) << std::string(2 * FirmwareImage::kCapacity + 2, '0');
  chooser.path = path.string();
  EXPECT_EQ(run(), SerialUpdateResult::FileTooLarge);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].caption, "ORX Device");
  EXPECT_EQ(prompter.shown[0].icon, MsgIcon::Error);
  EXPECT_NE(prompter.shown[0].text.find("131072"), std::string::npos);
  expectUntouched();
}

TEST_F(UpdateFlow, CancelAtTheQuestionSendsNothing) {
  choose("F.orx", MakeImageBytes({4}));
  prompter.answers = {MsgAnswer::Cancel};
  EXPECT_EQ(run(), SerialUpdateResult::Cancelled);
  EXPECT_EQ(prompter.shown, std::vector<Message>{kConfirm});
  expectUntouched();
}

TEST_F(UpdateFlow, TransferFailureClosesTheLinkAndShowsTheSlotMessage) {
  choose("A.orx", MakeImageBytes({4, 4}));
  setRepairMode(true);
  link.blockAnswers = {0x11, 0x12};
  EXPECT_EQ(run(), SerialUpdateResult::Failed);
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[1],
            (Message{"ORX Device", MsgIcon::Error, MsgButtons::Ok,
                     "Update Error: Data Transfer CRC Checksum - \nPlease Reconnect and Power Cycle Device."}));
  EXPECT_EQ(status(), "FIRMWARE UPDATE FAILED");
  EXPECT_TRUE(buttonsEnabled());
  EXPECT_TRUE(repairMode());  // only a success unticks it
  EXPECT_EQ(hooks.events, (std::vector<std::string>{"box", "skipAutoRead", "close", "box", "monitor 500"}));
}

TEST_F(UpdateFlow, EmptyFileUpdatesAtOnce) {
  choose("D_empty.orx", {});
  EXPECT_EQ(run(), SerialUpdateResult::Updated);
  EXPECT_TRUE(link.writes.empty());
  EXPECT_EQ(status(), "FIRMWARE UPDATED");
}
