// A believable flight log from the simulated ESC, end to end: downloaded page
// by page, decoded, split into sessions, saved as CSV and read back.
#include <gtest/gtest.h>

#include <cmath>

#include "datalog/CsvLogReader.h"
#include "datalog/CsvLogWriter.h"
#include "datalog/LogDecode.h"
#include "datalog/LogDownload.h"
#include "datalog/LogRecord.h"
#include "datalog/LogSessions.h"
#include "link/UsbIds.h"
#include "tests/support/RecordingHost.h"
#include "tools/SimulatedEsc.h"

namespace orx::datalog {
namespace {

TEST(GeneratedFlight, DownloadDecodeSessionsAndCsvAgree) {
  sim::NvqConfig config;
  config.log.bytes = 22000;
  config.log.sessions = 4;
  sim::SimulatedEsc esc(config);
  ASSERT_TRUE(esc.start()) << esc.error();
  DeviceSession session(PortOpener{}, fixedPathOpener(esc.path()));
  ASSERT_EQ(session.links.stm32.OpenLink(kStm32Id), 0);
  orx::test::RecordingHost host;
  std::optional<LogData> log;
  std::size_t delivered = 0;
  DownloadHooks hooks;
  hooks.wait = [](int) {};
  hooks.deliver = [&](std::span<const std::uint8_t> bytes, DownloadEnd) {
    delivered = bytes.size();
    log = decodeLog(bytes);  // decoded while the bytes live, as the window must
  };
  const DownloadResult r = runLogDownload(session, host, hooks);
  EXPECT_EQ(r.end, DownloadEnd::EndMarker);
  EXPECT_EQ(delivered, 22000u);
  ASSERT_TRUE(log.has_value());

  size_t fillers = 0;
  const sim::Bytes memory = esc.withNvq([](sim::NvqEsc& m) { return m.logMemory(); });
  for (size_t at = 0; at + 11 <= 22000; at += 11)
    if (isFillerRecord(std::span(memory).subspan(at, 11))) ++fillers;
  // One fewer than the records, but never a slot that no record filled.
  ASSERT_GT(fillers, 1u);
  EXPECT_EQ(log->samples.size(), 2000 - fillers);

  const auto sessions = sessionsOf(log->samples);
  EXPECT_EQ(sessionTexts(sessions).size(), 4u);
  EXPECT_NE(log->tripped & kOverTemp, 0u);
  for (const LogSample& s : log->samples) {
    ASSERT_GE(s.voltage, 0);
    ASSERT_LE(s.voltage, 100);
    ASSERT_LE(s.current, 100);
    ASSERT_LE(s.power, 100);
    ASSERT_LE(s.speed, 100);
    ASSERT_LE(s.consumption, 100);
    ASSERT_LE(s.energy, 100);
  }
  EXPECT_GT(log->scales.voltage, 5);
  EXPECT_GT(log->scales.current, 0);

  std::tm when{};
  const std::string text = csvText(*log, kDefaultNotes, when);
  const CsvLoad back = parseCsv(text);
  ASSERT_EQ(back.status, CsvParse::Loaded);
  ASSERT_EQ(back.log.samples.size(), log->samples.size());
  EXPECT_EQ(back.notes, kDefaultNotes);
  EXPECT_NE(back.log.tripped & kOverTemp, 0u);
  EXPECT_EQ(back.log.tripped & ~log->tripped, 0u);
  EXPECT_EQ(sessionTexts(sessionsOf(back.log.samples)), sessionTexts(sessions));
  for (size_t i = 0; i < log->samples.size(); ++i) {
    const double volts = log->samples[i].voltage * log->scales.voltage / 100;
    const double again = back.log.samples[i].voltage * back.log.scales.voltage / 100;
    ASSERT_NEAR(volts, again, 0.005 + 1e-9) << i;
  }
}

}  // namespace
}  // namespace orx::datalog
