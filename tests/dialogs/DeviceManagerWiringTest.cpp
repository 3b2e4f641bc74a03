// The menu entries and the windows' requests as the device manager runs them:
// the firmware letter check before the protections window, and use time and
// protections as jobs on the real link worker against the simulated ESCs.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "device/DeviceManager.h"
#include "base/ControlIds.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/PortOpeners.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/WaitFor.h"
#include "tools/SimulatedEsc.h"

namespace orx::test {
namespace {

using namespace std::chrono;

struct CountingWindows : AuxWindows {
  int useTime = 0, protections = 0, help = 0, version = 0;
  void openUseTime() override { ++useTime; }
  void openProtections() override { ++protections; }
  void openHelp() override { ++help; }
  void openVersion() override { ++version; }
};

struct Bench {
  template <class Config>
  explicit Bench(const Config& config) : esc(config) {
    EXPECT_TRUE(esc.start()) << esc.error();
    const bool nvq = esc.kind() == sim::EscKind::Nvq;
    manager = std::make_unique<DeviceManager>(controls, boxes, files,
                                              onlyFor("VID_10C4&PID_EA60", nvq ? "" : esc.path()),
                                              onlyFor("VID_0483&PID_5740", nvq ? esc.path() : ""));
    manager->setAuxWindows(&windows);
  }
  ~Bench() { manager->stop(); }
  void startAndWaitForTheEsc() {
    manager->start();
    ASSERT_TRUE(waitFor([&] { return manager->snapshot().deviceAnswering; }, 10s));
  }
  void setVersion(const std::string& text) {
    controls.update([&](DialogState& s) { s.setText(ctl::FirmwareVersion, text); });
  }

  sim::SimulatedEsc esc;
  SharedControls controls;
  RecordingPrompter boxes;
  FixedChooser files;
  CountingWindows windows;
  std::unique_ptr<DeviceManager> manager;
};

TEST(AuxMenu, ProtectionsWindowOnlyForFirmwareAAndB) {
  Bench b{sim::NvqConfig{}};
  for (const char* refused : {"", "C.01.02.03", "D.01.03.05"}) {
    b.setVersion(refused);
    b.manager->protections();
  }
  EXPECT_EQ(b.windows.protections, 0);
  ASSERT_EQ(b.boxes.count(), 3u);
  for (const Message& m : b.boxes.shown) EXPECT_EQ(m, protectionsRefusedBox());
  b.setVersion("B.01.07.12");
  b.manager->protections();
  EXPECT_EQ(b.windows.protections, 1);
  EXPECT_EQ(b.boxes.count(), 3u);

  b.manager->useTime();
  b.manager->help();
  b.manager->version();
  EXPECT_EQ(b.windows.useTime, 1);
  EXPECT_EQ(b.windows.help, 1);
  EXPECT_EQ(b.windows.version, 1);
}

TEST(AuxRequests, UseTimeReadAndResetOnTheWorker) {
  sim::NvqConfig config;
  config.useTimeMinutes = 1000 * 60 + 5;
  Bench b{config};
  b.startAndWaitForTheEsc();
  std::mutex m;
  std::vector<std::string> texts;
  const auto listener = [&](const std::string& text) {
    std::lock_guard<std::mutex> l(m);
    texts.push_back(text);
  };
  const auto started = steady_clock::now();
  b.manager->queryUseTime(listener);
  ASSERT_TRUE(waitFor([&] { std::lock_guard<std::mutex> l(m); return !texts.empty(); }, 15s));
  // The ESC is given its two seconds before the answer counts.
  EXPECT_GE(duration_cast<milliseconds>(steady_clock::now() - started).count(), 2000);
  EXPECT_EQ(texts[0], "1000h : 05m");

  b.manager->clearUseTime();
  ASSERT_TRUE(waitFor([&] { return b.esc.withNvq([](sim::NvqEsc& e) { return e.useTimeMinutes(); }) == 0; }, 10s));
  b.manager->queryUseTime(listener);
  ASSERT_TRUE(waitFor([&] { std::lock_guard<std::mutex> l(m); return texts.size() == 2; }, 15s));
  EXPECT_EQ(texts[1], "0h : 00m");
  EXPECT_EQ(b.boxes.count(), 0u);
}

TEST(AuxRequests, ProtectionsReadAndClearOnTheWorker) {
  Bench b{sim::Cp210xConfig{}};
  b.startAndWaitForTheEsc();
  std::mutex m;
  std::vector<ProtectionStates> got;
  const auto listener = [&](const ProtectionStates& s) {
    std::lock_guard<std::mutex> l(m);
    got.push_back(s);
  };
  using S = ProtectionState;
  b.manager->readProtections(listener);
  ASSERT_TRUE(waitFor([&] { std::lock_guard<std::mutex> l(m); return got.size() == 1; }, 15s));
  EXPECT_EQ(got[0], (ProtectionStates{S::Clear, S::Activated, S::Clear, S::Clear, S::Clear}));
  b.manager->clearProtections(listener);
  ASSERT_TRUE(waitFor([&] { std::lock_guard<std::mutex> l(m); return got.size() == 2; }, 15s));
  EXPECT_EQ(got[1], (ProtectionStates{S::Clear, S::Clear, S::Clear, S::Clear, S::Clear}));
  ASSERT_EQ(b.boxes.count(), 1u);
  EXPECT_EQ(b.boxes.shown[0], protectionsClearedBox());
}

}  // namespace
}  // namespace orx::test
