// The ESC side as the program runs it: worker, monitor and flows behind the
// window's commands, against the simulated ESC on a pty.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>

#include "device/DeviceManager.h"
#include "device/PortAccessText.h"
#include "base/ControlIds.h"
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

namespace {

// The NVQ series ESC on its own port; the CP210x search finds nothing.
struct NvqBench {
  sim::SimulatedEsc esc{sim::NvqConfig{}};
  SharedControls controls;
  RecordingPrompter prompter;
  FixedChooser files;
  std::atomic<int> indicatorCalls{0};
  std::atomic<bool> adapterGreen{false}, deviceGreen{false};
  std::unique_ptr<DeviceManager> manager;

  NvqBench() {
    // The lists as the window fills them at start-up.
    fillStartLists(controls);
    EXPECT_TRUE(esc.start()) << esc.error();
    manager = std::make_unique<DeviceManager>(controls, prompter, files, noPort(),
                                              onlyFor("VID_0483&PID_5740", esc.path()));
    manager->setIndicatorListener([this](bool a, bool d) {
      adapterGreen = a;
      deviceGreen = d;
      ++indicatorCalls;
    });
  }
  ~NvqBench() { manager->stop(); }
};

}  // namespace

TEST(DeviceManager, FindsTheNvqEscReadsItAndSendsAChange) {
  NvqBench b;
  const auto started = steady_clock::now();
  b.manager->start();
  ASSERT_TRUE(waitFor([&] { return statusLine(b.controls) == "READ SETTINGS COMPLETED"; }, 10s));
  const auto readMs = duration_cast<milliseconds>(steady_clock::now() - started).count();
  RecordProperty("StartToReadCompletedMs", static_cast<int>(readMs));
  EXPECT_TRUE(b.adapterGreen.load());
  EXPECT_TRUE(b.deviceGreen.load());
  const auto snap = b.manager->snapshot();
  EXPECT_TRUE(snap.nvqAnswering);
  EXPECT_GT(snap.kept.length, 0);
  EXPECT_EQ(b.controls.read([](const DialogState& s) { return s.text(ctl::FirmwareVersion); }), "D.01.03.05");

  // DRIVE FREQUENCY is d[5]; choose another entry than the ESC holds and send.
  const int before = b.controls.read([](const DialogState& s) { return s.selection(ctl::DriveFrequency); });
  ASSERT_GE(before, 0);
  const int wanted = (before + 1) % 3;
  b.controls.update([&](DialogState& s) { s.select(ctl::DriveFrequency, wanted); });
  b.manager->sendSettings();
  ASSERT_TRUE(waitFor([&] { return statusLine(b.controls) == "SETTINGS UPDATED"; }, 10s));
  const int held = b.esc.withNvq([](sim::NvqEsc& e) { return static_cast<int>(e.block().at(2 + 5)); });
  EXPECT_EQ(held, wanted);
  EXPECT_TRUE(b.prompter.shown.empty());
}

TEST(DeviceManager, UnplugTurnsBothSquaresRedAndBlanksTheControls) {
  NvqBench b;
  b.manager->start();
  ASSERT_TRUE(waitFor([&] { return statusLine(b.controls) == "READ SETTINGS COMPLETED"; }, 10s));
  b.esc.vanish();
  EXPECT_TRUE(waitFor([&] { return !b.adapterGreen && !b.deviceGreen; }, 10s));
  EXPECT_TRUE(waitFor(
      [&] { return b.controls.read([](const DialogState& s) { return s.text(ctl::FirmwareVersion).empty(); }); },
      5s));
  // Plugged in again, it is read again.
  b.controls.update([](DialogState& s) { s.setText(ctl::StatusLine, ""); });
  ASSERT_TRUE(b.esc.plugBack());
  EXPECT_TRUE(waitFor([&] { return statusLine(b.controls) == "READ SETTINGS COMPLETED"; }, 10s));
}

TEST(DeviceManager, CommandsWithNothingPluggedInExplainWhy) {
  SharedControls controls;
  RecordingPrompter prompter;
  FixedChooser files;
  DeviceManager manager(controls, prompter, files, noPort(), noPort());
  manager.start();
  manager.sendSettings();
  manager.readSettings();
  ASSERT_TRUE(waitFor([&] { return prompter.count() == 2; }, 5s));
  manager.stop();
  for (const Message& m : prompter.shown) {
    EXPECT_EQ(m.text, "ADAPTER Connection Error - \nPlease Reconnect to PC.");
    EXPECT_EQ(m.caption, "ORX Device");
  }
}

TEST(DeviceManager, APortThatIsPluggedInButCannotBeOpenedIsNamedOnTheStatusLine) {
  // A listed device whose path is no terminal stands for a port the user may
  // not open: the real lookup finds it, the open fails.
  const TempDir folder;
  const std::string path = folder.file("ttyACM0");
  std::ofstream(path) << "x";
  ::setenv("ORX_VIRTUAL_PORTS", ("VID_0483&PID_5740=" + path).c_str(), 1);
  SharedControls controls;
  RecordingPrompter prompter;
  FixedChooser files;
  DeviceManager manager(controls, prompter, files);
  manager.setDfuFinder([] { return false; });
  manager.start();
  const std::string expected = *PortAccessText(path, ENOTTY);
  EXPECT_TRUE(waitFor([&] { return statusLine(controls) == expected; }, 5s)) << statusLine(controls);
  // Cleared while the port still cannot be opened, it comes back.
  controls.update([](DialogState& s) { s.setText(ctl::StatusLine, ""); });
  EXPECT_TRUE(waitFor([&] { return statusLine(controls) == expected; }, 5s)) << statusLine(controls);
  manager.stop();
  ::unsetenv("ORX_VIRTUAL_PORTS");
  EXPECT_TRUE(prompter.shown.empty());
}

TEST(PortAccessText, NamesWhatTheUserCanFix) {
  EXPECT_EQ(PortAccessText("/dev/ttyACM0", EACCES), "CANNOT OPEN /dev/ttyACM0 - NO PERMISSION FOR THE PORT");
  EXPECT_EQ(PortAccessText("/dev/ttyUSB0", EBUSY), "CANNOT OPEN /dev/ttyUSB0 - ANOTHER PROGRAM IS USING THE PORT");
  EXPECT_EQ(PortAccessText("/dev/ttyUSB0", ENOTTY), "CANNOT OPEN /dev/ttyUSB0 - INAPPROPRIATE IOCTL FOR DEVICE");
  // Unplugged between the lookup and the open: nothing to say.
  EXPECT_FALSE(PortAccessText("/dev/ttyUSB0", ENOENT).has_value());
  EXPECT_FALSE(PortAccessText("/dev/ttyUSB0", ENXIO).has_value());
}
