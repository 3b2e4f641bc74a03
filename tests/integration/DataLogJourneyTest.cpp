// READ ESC LOG in the data log window, through the ESC side the program runs,
// against the simulated NVQ ESC and its generated flights.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <regex>

#include "app/DeviceManager.h"
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
  window.command(graph::gcmd::kReadLog);  // a second request while one runs is dropped (the button cancels)
  std::vector<std::string> texts;  // every progress text shown, in order
  ASSERT_TRUE(pumpUntil([&] {
    const std::string text = window.staticText(graph::gid::kProgressText)->text().toStdString();
    if (texts.empty() || texts.back() != text) texts.push_back(text);
    return window.sampleCount() > 0;
  }, 20s));
  device.stop();
  // Once three pages are in, the speed and the time left follow the percentage.
  const std::regex paced(R"(READ LOG DATA \.\.\.(\d+\.\d\d)% - (\d+\.\d) KB/s - (\d+ min )?\d+ s left)");
  std::smatch m;
  const auto first = std::find_if(texts.begin(), texts.end(), [&](const std::string& t) {
    return std::regex_match(t, m, paced);
  });
  ASSERT_NE(first, texts.end()) << texts.back();
  EXPECT_GE(std::stod(m[1]), 3 * 253 * 100.0 / 64768 - 0.01);
  EXPECT_GT(std::stod(m[2]), 0);
  EXPECT_TRUE(std::none_of(texts.begin(), first, [](const std::string& t) { return t.find(" - ") != t.npos; }));

  const std::vector<uint8_t> memory = esc.withNvq([](sim::NvqEsc& e) { return e.logMemory(); });
  const auto expected = datalog::decodeLog(std::span<const uint8_t>(memory.data(), 11 * 150));
  ASSERT_TRUE(expected.has_value());
  EXPECT_EQ(window.sampleCount(), static_cast<int>(expected->samples.size()));
  EXPECT_TRUE(boxes.saw("To increase the speed of the graph, please unplug your ESC"));
  // A complete download ends at 100 %, without speed and time left.
  // Reports are folded into one update of the controls; the last one shows.
  const std::string last = "READ LOG DATA ...100.00%";
  EXPECT_TRUE(pumpUntil(
      [&] { return window.staticText(graph::gid::kProgressText)->text().toStdString() == last; }, 2s))
      << window.staticText(graph::gid::kProgressText)->text().toStdString();
}
