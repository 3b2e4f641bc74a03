// The session list, its texts, the chooser's text back to an entry, and the
// samples of one chosen session.
#include <gtest/gtest.h>

#include "datalog/LogScales.h"
#include "datalog/LogSessions.h"

namespace orx::datalog {
namespace {

std::vector<LogSample> samplesWith(std::vector<int> sessions, int frequency = 8) {
  std::vector<LogSample> out;
  double t = 0;
  for (int s : sessions) {
    t += 1.0 / frequency;
    LogSample x;
    x.time = t;
    x.session = s;
    x.frequency = frequency;
    out.push_back(x);
  }
  return out;
}

TEST(SessionList, RunsOfSessionNumbersAreNumberedInOrder) {
  const auto sessions = sessionsOf(samplesWith({3, 3, 4, 4, 4}));
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(sessions[0].entry, 1);
  EXPECT_DOUBLE_EQ(sessions[0].duration, 0.25);
  EXPECT_EQ(sessions[1].entry, 2);
  // The first interval of a later run lies between flights.
  EXPECT_DOUBLE_EQ(sessions[1].duration, 0.25);
  EXPECT_EQ(sessions[1].first, 2);
  EXPECT_EQ(sessions[1].last, 4);
  EXPECT_EQ(sessionTexts(sessions),
            (std::vector<std::string>{"Session 1: 0.25 Seconds (8 Hz)", "Session 2: 0.25 Seconds (8 Hz)"}));
}

TEST(SessionList, OneSampleRunIsNotListedButKeepsItsNumber) {
  const auto sessions = sessionsOf(samplesWith({1, 1, 2, 3, 3}, 1));
  ASSERT_EQ(sessions.size(), 3u);
  EXPECT_EQ(sessionTexts(sessions),
            (std::vector<std::string>{"Session 1: 2.00 Seconds (1 Hz)", "Session 3: 1.00 Seconds (1 Hz)"}));
}

TEST(SessionList, AtMostFiveHundredEntries) {
  std::vector<int> numbers;
  for (int i = 0; i < 1300; ++i) numbers.push_back(1 + (i / 2) % 64);
  const auto sessions = sessionsOf(samplesWith(numbers));
  ASSERT_EQ(sessions.size(), static_cast<size_t>(kMaxSessions));
  EXPECT_EQ(sessions.back().entry, kMaxSessions);
  EXPECT_EQ(sessions.back().last, 999);
  EXPECT_TRUE(sessionsOf({}).empty());
}

TEST(SessionChoice, EntryNumberFromTheChooserText) {
  EXPECT_EQ(entryOfText("Session 12: 3.00 Seconds (1 Hz)"), 12);
  EXPECT_EQ(entryOfText("Session 7"), 7);
  EXPECT_EQ(entryOfText("Session :"), 0);
  EXPECT_EQ(entryOfText("Sessio"), std::nullopt);
  EXPECT_EQ(entryOfText(""), std::nullopt);
}

TEST(SessionChoice, SecondEntryShowsTheWholeSecondRunFromZero) {
  LogData log;
  log.samples = samplesWith({3, 3, 4, 4, 4});
  log.scales.current = 10;
  log.scales.voltage = 20;
  log.scales.consumption = 1;
  log.scales.energy = 1;
  for (LogSample& s : log.samples) {
    s.current = 36;  // 3.6 A
    s.voltage = 50;  // 10 V
    s.consumption = 99;
  }
  const auto view = sessionView(log, 2);
  ASSERT_TRUE(view.has_value());
  ASSERT_EQ(view->samples.size(), 3u);
  for (const LogSample& s : view->samples) EXPECT_EQ(s.session, 4);
  EXPECT_DOUBLE_EQ(view->samples[0].time, 0);
  EXPECT_DOUBLE_EQ(view->samples[2].time, 0.25);
  EXPECT_DOUBLE_EQ(view->duration, 0.25);
  // Accumulated afresh: 3.6 A for 1/8 s is 0.000125 Ah per sample.
  EXPECT_NEAR(view->samples[0].consumption, 0.0125, 1e-12);
  EXPECT_NEAR(view->samples[2].consumption, 0.0375, 1e-12);
  EXPECT_NEAR(view->samples[2].energy, 0.375, 1e-12);  // x 10 V
}

TEST(SessionChoice, RateChangeInsideASessionKeepsRealTime) {
  LogData log;
  log.samples = samplesWith({5, 5, 5}, 8);
  auto slower = samplesWith({5, 5}, 2);
  log.samples.insert(log.samples.end(), slower.begin(), slower.end());
  const auto view = sessionView(log, 1);
  ASSERT_TRUE(view.has_value());
  ASSERT_EQ(view->samples.size(), 5u);
  EXPECT_DOUBLE_EQ(view->samples[2].time, 0.25);
  EXPECT_DOUBLE_EQ(view->samples[4].time, 1.25);
  EXPECT_DOUBLE_EQ(view->duration, 1.25);
}

TEST(SessionChoice, NoSuchEntryShowsNothing) {
  LogData log;
  log.samples = samplesWith({1, 1, 2, 2});
  EXPECT_FALSE(sessionView(log, 0).has_value());
  EXPECT_FALSE(sessionView(log, 3).has_value());
  EXPECT_FALSE(sessionView(LogData{}, 1).has_value());
  // Session numbers that wrap from 64 to 1 are still separate entries.
  log.samples = samplesWith({64, 64, 1, 1});
  const auto wrapped = sessionView(log, 2);
  ASSERT_TRUE(wrapped.has_value());
  EXPECT_EQ(wrapped->samples.front().session, 1);
}

TEST(ChartScale, RaiseToMultipleAndZeroFullScale) {
  EXPECT_EQ(raiseToMultiple(36, 5), 40);
  EXPECT_EQ(raiseToMultiple(35, 5), 35);
  EXPECT_EQ(raiseToMultiple(0, 300), 0);
  EXPECT_EQ(raiseToMultiple(901, 300), 1200);
  EXPECT_EQ(toChart(5, 0), 0);
  EXPECT_DOUBLE_EQ(fromChart(toChart(12.34, 31), 31), 12.34);
  // No samples: every maximum is -1 and no full scale goes below 0.
  const FullScales f = fullScalesOf(maximaOf({}));
  EXPECT_GE(f.current, 0);
  EXPECT_GE(f.speed, 0);
  EXPECT_EQ(f.consumption, 0);
  EXPECT_EQ(maximaOf({}).volts, -1);
}

}  // namespace
}  // namespace orx::datalog
