// READ ESC LOG in the data log window, through the ESC side the program runs,
// against the simulated NVQ ESC and its generated flights.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <set>

#include "device/DeviceManager.h"
#include "base/ControlIds.h"
#include "datalog/LogDecode.h"
#include "graph/Graph.h"
#include "graph/GraphIds.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/PortOpeners.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/StartControls.h"
#include "tools/SimulatedEsc.h"

using namespace orx;
using namespace orx::test;
using namespace std::chrono;

TEST(DataLogJourney, ReadEscLogShowsTheFlightsTheEscRecorded) {
  qtApp();
  sim::NvqConfig config;
  config.log.bytes = 11 * 150;  // under seven pages: a short download
  config.log.sessions = 2;
  sim::SimulatedEsc esc{config};
  ASSERT_TRUE(esc.start()) << esc.error();

  SharedControls controls;
  fillStartLists(controls);
  RecordingPrompter boxes;
  FixedChooser files;
  DeviceManager device(controls, boxes, files, noPort(), onlyFor("VID_0483&PID_5740", esc.path()));
  device.start();
  ASSERT_TRUE(pumpUntil([&] { return statusLine(controls) == "READ SETTINGS COMPLETED"; }, 10s));

  graph::Graph window(&device, boxes, files);
  window.command(graph::gid::kReadButton);
  window.command(graph::gcmd::kReadLog);  // a second request while one runs starts nothing
  std::set<std::string> texts;  // the progress texts shown
  ASSERT_TRUE(pumpUntil([&] {
    texts.insert(window.staticText(graph::gid::kProgressText)->text().toStdString());
    return window.sampleCount() > 0;
  }, 20s));
  // From three pages (1.17 %) on, the speed and the time left follow the percentage.
  const std::regex paced(R"(READ LOG DATA \.\.\.(\d+[.]\d\d)% - \d+[.]\d KB/s - \d+ s left)");
  int pacedTexts = 0;
  for (const std::string& t : texts) {
    std::smatch m;
    if (!std::regex_match(t, m, paced)) continue;
    ++pacedTexts;
    EXPECT_GE(std::stod(m[1]), 1.17) << t;
  }
  EXPECT_GT(pacedTexts, 0);
  // CANCEL stops the next download on the link worker; no box, the log stays.
  ASSERT_TRUE(pumpUntil([&] { return !window.downloading(); }, 5s));
  const std::size_t boxesBefore = boxes.shown.size();
  window.command(graph::gid::kReadButton);
  window.command(graph::gid::kReadButton);
  ASSERT_TRUE(pumpUntil([&] { return !window.downloading(); }, 20s));
  EXPECT_EQ(boxes.shown.size(), boxesBefore);
  device.stop();

  const std::vector<uint8_t> memory = esc.withNvq([](sim::NvqEsc& e) { return e.logMemory(); });
  const auto expected = datalog::decodeLog(std::span<const uint8_t>(memory.data(), 11 * 150));
  ASSERT_TRUE(expected.has_value());
  EXPECT_EQ(window.sampleCount(), static_cast<int>(expected->samples.size()));
  EXPECT_TRUE(boxes.saw("To increase the speed of the graph, please unplug your ESC"));
  // A finished download stands at 100 %, however little of the memory it
  // filled. Reports are folded into one update of the controls; the last shows.
  const std::string last = "READ LOG DATA ...100.00%";
  EXPECT_TRUE(pumpUntil(
      [&] { return window.staticText(graph::gid::kProgressText)->text().toStdString() == last; }, 2s))
      << window.staticText(graph::gid::kProgressText)->text().toStdString();
}
