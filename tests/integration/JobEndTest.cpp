// Every job ends, and the window is told how: stopping mid-job, a command that
// has to wait, REPAIR MODE's squares and status texts, against the simulated ESC.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>

#include "device/DeviceManager.h"
#include "base/ControlIds.h"
#include "firmware/DfuFile.h"
#include "graph/DataLogSource.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/PortOpeners.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/StartControls.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "tools/SimulatedEsc.h"

using namespace orx;
using namespace orx::test;
using namespace std::chrono;

namespace {

struct Bench {
  explicit Bench(sim::SimulatedEsc& e, std::function<void(Bench&)> before = {}) : esc(e) {
    fillStartLists(controls);
    EXPECT_TRUE(esc.start()) << esc.error();
    const bool nvq = esc.kind() == sim::EscKind::Nvq;
    PortOpener port = onlyFor(std::string(sim::usbIdOf(esc.kind())), esc.path());
    manager = std::make_unique<DeviceManager>(controls, prompter, files, nvq ? noPort() : port,
                                              nvq ? port : noPort());
    manager->setDfuFinder([this] { return dfuPresent(); });
    manager->setIndicatorListener([this](bool adapter, bool) {
      if (!adapter) ++adapterRed;
    });
    if (before) before(*this);
    manager->start();
  }
  ~Bench() { manager->stop(); }

  void clickRepairMode(bool ticked) {
    controls.update([&](DialogState& s) { s.setChecked(ctl::RepairMode, ticked); });
    manager->repairModeClicked();
  }
  bool shows(const std::string& status) const {
    return waitFor([&] { return statusLine(controls) == status; }, 15s);
  }
  long sent(uint8_t byte) const {
    const sim::Bytes got = esc.received();
    return std::count(got.begin(), got.end(), byte);
  }
  long long stopMs() {
    const auto start = steady_clock::now();
    manager->stop();
    return duration_cast<milliseconds>(steady_clock::now() - start).count();
  }

  sim::SimulatedEsc& esc;
  SharedControls controls;
  RecordingPrompter prompter;
  FixedChooser files;
  std::function<bool()> dfuPresent = [] { return false; };
  std::atomic<int> adapterRed{0};
  std::unique_ptr<DeviceManager> manager;
};

}  // namespace

TEST(JobEnd, StopEndsAnIdentifyTheEscNeverAnswersAndAQueuedCommandSaysItWaits) {
  sim::SimulatedEsc esc{sim::Cp210xConfig{}};
  esc.addFault({sim::Command::Identify, sim::FaultKind::Silence, -1, 0});
  Bench b(esc);
  ASSERT_TRUE(waitFor([&] { return b.sent(0xD7) > 0; }, 10s));
  b.manager->readSettings();
  EXPECT_EQ(statusLine(b.controls), "PLEASE WAIT - THE ESC IS BUSY...");
  EXPECT_LT(b.stopMs(), 1000);
}

TEST(JobEnd, StopEndsTheRepairSearchAndTheFirmwareUpdateWaitingForAMissingDfuDevice) {
  const TempDir dir;
  DfuFile file;
  file.images.push_back(DfuImage{0, true, "Internal Flash", {{0x08000000, std::vector<uint8_t>(64, 1)}}});
  const std::vector<uint8_t> bytes = BuildDfuFile(file);
  std::ofstream(dir.file("any.dfu"), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                             std::streamsize(bytes.size()));
  for (bool update : {false, true}) {
    sim::SimulatedEsc esc{sim::NvqConfig{}};
    esc.setReappearAfterLeavingMs(-1);
    Bench b(esc);
    b.files.path = dir.file("any.dfu");
    ASSERT_TRUE(b.shows("READ SETTINGS COMPLETED"));
    b.controls.update([](DialogState& s) { s.setChecked(ctl::RepairMode, true); });  // no file name check
    update ? b.manager->updateFirmware() : b.manager->repairModeClicked();
    ASSERT_TRUE(waitFor([&] { return !esc.present(); }, 10s));  // gone to a boot loader no bus shows
    EXPECT_LT(b.stopMs(), 1000) << (update ? "update" : "repair");
  }
}

TEST(JobEnd, StopEndsALogDownloadFromAnEscThatStopsSending) {
  qtApp();
  sim::SimulatedEsc esc{sim::NvqConfig{}};
  esc.addFault({sim::Command::LogNextPage, sim::FaultKind::Silence, -1, 0});
  Bench b(esc);
  ASSERT_TRUE(b.shows("READ SETTINGS COMPLETED"));
  QObject window;
  esc.clearReceived();
  b.manager->requestDownload(
      std::make_shared<graph::LogInbox>(&window, [](double) {}, [](std::vector<uint8_t>, datalog::DownloadEnd) {}));
  ASSERT_TRUE(waitFor([&] { return b.sent(0xF1) > 0; }, 10s));  // the next page, never answered
  EXPECT_LT(b.stopMs(), 1000);
}

TEST(JobEnd, AdapterSquareStaysGreenWhileTheEscWaitsInDfuMode) {
  // The ESC sits in its DFU boot loader from the start: no serial port, a DFU device.
  sim::SimulatedEsc esc{sim::NvqConfig{}};
  Bench b(esc, [&](Bench& b) {
    esc.vanish();
    b.dfuPresent = [] { return true; };
    b.controls.update([](DialogState& s) { s.setChecked(ctl::RepairMode, true); });
  });
  ASSERT_TRUE(waitFor([&] { return b.manager->snapshot().adapterOpen; }, 10s));
  const int redBefore = b.adapterRed;
  std::this_thread::sleep_for(3s);  // six monitor ticks, two DFU searches
  EXPECT_EQ(b.adapterRed, redBefore);
  EXPECT_TRUE(b.manager->snapshot().adapterOpen);
}

TEST(JobEnd, UntickingRepairModeLeavesACp210xEscInItsBootLoaderAndSaysToPowerCycleIt) {
  sim::SimulatedEsc esc{sim::Cp210xConfig{}};
  Bench b(esc);
  ASSERT_TRUE(b.shows("READ SETTINGS COMPLETED"));
  b.clickRepairMode(true);
  // The first boot request sends the ESC into its boot loader, the next finds it there.
  ASSERT_TRUE(waitFor([&] { return b.sent(0xD6) >= 3; }, 10s));
  b.clickRepairMode(false);
  EXPECT_TRUE(b.shows("Power Cycle the ESC to Leave Repair Mode")) << statusLine(b.controls);
}
