// The CSV text: exact layout of a written file, the round trip, and the
// reader's handling of headers, comments, skipped, blank and broken rows.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "RecordBuilder.h"
#include "datalog/CsvLogReader.h"
#include "datalog/CsvLogWriter.h"
#include "datalog/LogDecode.h"
#include "datalog/LogRecord.h"
#include "datalog/LogScales.h"

namespace orx::datalog {
namespace {

std::tm thursdayMarch7() {
  std::tm t{};
  t.tm_year = 124;
  t.tm_mon = 2;
  t.tm_mday = 7;
  t.tm_wday = 4;
  return t;
}

const std::string kPreamble =
    "# Note - \n# Saved Thursday March 07 2024\n"
    "# To calculate the rpm of your motor: take the Motor_RPM and divide by the number of motor poles / 2\n"
    "LogSession_ID,Log_Frequency,Drive_Voltage,Drive_Current,Drive_Power,Temperature,Input_Throttle,"
    "Output_Throttle,Motor_RPM,Power_Consumption,Protections\n";

LogData decoded(const std::vector<test::RecordFields>& fields) { return *decodeLog(test::recordsOf(fields)); }

TEST(CsvWrite, ExactFileForTwoSamples) {
  const test::RecordFields f{.tempC = 25, .centiAmps = 3600, .outThrottle = 40, .speedValue = 410,
                             .centiVolts = 2000, .inputUs = 1500, .flags = 5, .session = 2};
  test::RecordFields g = f;
  g.centiAmps = 0;
  g.flags = 0;
  g.freqCode = 3;
  const std::string text = csvText(decoded({f, g, f}), "", thursdayMarch7());
  EXPECT_EQ(text, kPreamble +
                      "2,8,20.00,36.00,720.00,77.00,1500,40.00,24600,0.00,5\n"
                      "2,1,20.00,0.00,0.00,77.00,1500,40.00,24600,0.00,0\n");
  EXPECT_EQ(std::string(kCsvHeader).size(), 150u);
}

TEST(CsvWrite, NotesBecomeOneLineJoinedByThePrefix) {
  EXPECT_EQ(notesBlock(""), "# Note - ");
  EXPECT_EQ(notesBlock("A\r\nB"), "# Note - A\r# Note - B");
  EXPECT_EQ(notesBlock("A\nB"), "# Note - A# Note - B");
  EXPECT_EQ(notesBlock("A\r\r\nB"), "# Note - A \r# Note - B");
  EXPECT_EQ(notesBlock("caf\xE9 25\xB0"), "# Note - caf\xE9 25\xB0");  // bytes kept as they are
}

TEST(CsvWrite, SavedLineHasEnglishNamesAndTwoDigitDay) {
  std::tm t = thursdayMarch7();
  EXPECT_EQ(savedLine(t), "# Saved Thursday March 07 2024");
  t.tm_wday = 0;
  t.tm_mon = 11;
  t.tm_mday = 31;
  t.tm_year = 99;
  EXPECT_EQ(savedLine(t), "# Saved Sunday December 31 1999");
  t.tm_wday = 9;  // out of range: no read past the name tables
  t.tm_mon = -1;
  EXPECT_EQ(savedLine(t).substr(0, 22), "# Saved Sunday January");
}

TEST(CsvRoundTrip, SecondSaveIsByteForByteTheFirst) {
  std::vector<test::RecordFields> fields;
  for (unsigned i = 0; i < 300; ++i)
    fields.push_back({.tempC = 20 + i % 60, .centiAmps = i * 17 % 6000, .outThrottle = i % 101, .speedValue = i * 3,
                      .centiVolts = 2520 - i, .inputUs = 1000 + i * 3, .flags = i % 97 == 0 ? 2u : 0u,
                      .session = 1 + i / 100, .freqCode = (i / 50) % 4});
  const LogData log = decoded(fields);
  const std::string notes = "First flight\r\nwind 5 m/s";
  const std::string first = csvText(log, notes, thursdayMarch7());
  const CsvLoad back = parseCsv(first);
  ASSERT_EQ(back.status, CsvParse::Loaded);
  EXPECT_EQ(back.notes, notes);
  EXPECT_TRUE(back.hasProtections);
  ASSERT_EQ(back.log.samples.size(), log.samples.size());
  EXPECT_EQ(back.log.tripped, unsigned{2});
  for (size_t i = 0; i < log.samples.size(); ++i) {
    EXPECT_EQ(back.log.samples[i].session, log.samples[i].session);
    EXPECT_EQ(back.log.samples[i].frequency, log.samples[i].frequency);
    EXPECT_DOUBLE_EQ(back.log.samples[i].time, log.samples[i].time);
  }
  EXPECT_EQ(csvText(back.log, back.notes, thursdayMarch7()), first);
}

TEST(CsvRead, ValuesFullScalesAndDerivedQuantities) {
  const std::string text = kPreamble +
                           "1,4,24.00,10.00,1.00,122.00,1500,50.00,24000,99.00,0\n"
                           "1,4,22.00,12.00,1.00,104.00,2200,60.00,12000,99.00,16\n";
  const CsvLoad r = parseCsv(text);
  ASSERT_EQ(r.status, CsvParse::Loaded);
  ASSERT_EQ(r.log.samples.size(), 2u);
  const FullScales& f = r.log.scales;
  EXPECT_DOUBLE_EQ(f.voltage, 29);
  EXPECT_DOUBLE_EQ(f.current, 15);
  EXPECT_DOUBLE_EQ(f.power, 300);  // 264 W from current x voltage, not the column
  EXPECT_DOUBLE_EQ(f.speed, 20);   // 24000 x 0.5 / 1000 = 12
  EXPECT_DOUBLE_EQ(r.log.currentAxisMax, 15.001);
  EXPECT_DOUBLE_EQ(r.log.consumptionAxisMax, 1.001);
  EXPECT_DOUBLE_EQ(r.log.duration, 0.5);
  const LogSample& b = r.log.samples[1];
  EXPECT_DOUBLE_EQ(b.time, 0.5);
  EXPECT_DOUBLE_EQ(b.current, 80);  // against the full scale itself
  EXPECT_DOUBLE_EQ(b.power, 88);
  EXPECT_DOUBLE_EQ(b.temperature, 104.0 * 100 / 210);
  EXPECT_DOUBLE_EQ(b.inputThrottle, 100);
  EXPECT_DOUBLE_EQ(b.speed, 30);
  // Consumption from the current, not the column: (10 + 12) / 3600 / 4 Ah.
  EXPECT_NEAR(b.consumption, 22.0 / 3600 / 4 * 100, 1e-12);
  EXPECT_NEAR(b.energy, (10.0 * 24 + 12.0 * 22) / 3600 / 4 * 100, 1e-12);
  EXPECT_EQ(b.protections, unsigned{kUnderVoltage});
  EXPECT_EQ(r.log.tripped, 16u);
}

TEST(CsvRead, ShortHeaderMeansTenColumnsAndNoProtections) {
  const std::string shortHeader =
      "LogSession_ID,Log_Frequency,Drive_Voltage,Drive_Current,Drive_Power,Temperature,Input_Throttle,"
      "Output_Throttle,Motor_RPM,Power_Consumption";
  ASSERT_EQ(shortHeader.size(), 138u);
  const CsvLoad r = parseCsv(shortHeader + "\n3,2,10,1,0,80,1500,5,0,0.5,63\n3,2,10,1,0,80,1500,5,0,0.5\n");
  ASSERT_EQ(r.status, CsvParse::Loaded);
  EXPECT_FALSE(r.hasProtections);
  ASSERT_EQ(r.log.samples.size(), 2u);
  EXPECT_EQ(r.log.samples[0].protections, 0u);
  EXPECT_EQ(r.log.tripped, 0u);
  EXPECT_EQ(r.log.samples[0].session, 3);
  // Ten columns need nine commas.
  EXPECT_EQ(parseCsv(shortHeader + "\n3,2,10,1,0,80,1500,5,0\n").status, CsvParse::Malformed);
}

TEST(CsvRead, CommentsAnywhereBlankLinesAndZeroFrequencyRowsAreSkipped) {
  const std::string text = kPreamble +
                           "1,8,10,1,0,80,1500,5,0,0,0\n"
                           "# a comment between rows\n"
                           "1,0,99,99,0,80,1500,5,0,0,0\n"
                           "1,abc,99,99,0,80,1500,5,0,0,0\n"
                           "\r\n"
                           "\n"
                           "1,8,10,1,0,80,1500,5,0,0,0\r\n";
  const CsvLoad r = parseCsv(text);
  ASSERT_EQ(r.status, CsvParse::Loaded);
  ASSERT_EQ(r.log.samples.size(), 2u);
  EXPECT_DOUBLE_EQ(r.log.samples[1].time, 0.25);
  EXPECT_DOUBLE_EQ(r.log.duration, 0.25);
  EXPECT_DOUBLE_EQ(r.log.scales.voltage, 15);  // the skipped 99 V row left no trace
}

TEST(CsvRead, RowWithTooFewFieldsIsTheOneError) {
  const std::string text = kPreamble + "1,8,10,1,0,80,1500,5,0,0,0\n1,8,10,1\n1,8,10,1,0,80,1500,5,0,0,0\n";
  const CsvLoad r = parseCsv(text);
  EXPECT_EQ(r.status, CsvParse::Malformed);
  EXPECT_EQ(r.malformedLine, 6);
  EXPECT_TRUE(r.log.samples.empty());
}

TEST(CsvRead, NoLineFeedGivesNoSamples) {
  CsvLoad r = parseCsv("1,8,10,1,0,80,1500,5,0,0,0");
  EXPECT_EQ(r.status, CsvParse::NoLineFeed);
  EXPECT_TRUE(r.log.samples.empty());
  r = parseCsv("");
  EXPECT_EQ(r.status, CsvParse::NoLineFeed);
  r = parseCsv("# Note - only a note");
  EXPECT_EQ(r.status, CsvParse::NoLineFeed);
  EXPECT_EQ(r.notes, "only a note");
}

TEST(CsvRead, NotesFromHandWrittenLines) {
  const CsvLoad r = parseCsv("# Note - one\r\n# Note - two# Note - three\n# Note -x\nheader\n");
  EXPECT_EQ(r.notes, "one\r\ntwo\r\nthree");
  EXPECT_TRUE(r.log.samples.empty());
}

TEST(CsvRead, FieldsReadAsFarAsTheirLeadingNumberGoes) {
  const CsvLoad r = parseCsv(kPreamble + " 2x,4Hz,+12.5V,1e1,,nan,inf,-5,9e999,0,  3 flags\n");
  ASSERT_EQ(r.status, CsvParse::Loaded);
  ASSERT_EQ(r.log.samples.size(), 1u);
  const LogSample& s = r.log.samples[0];
  EXPECT_EQ(s.session, 2);
  EXPECT_EQ(s.frequency, 4);
  EXPECT_DOUBLE_EQ(fromChart(s.voltage, r.log.scales.voltage), 12.5);
  EXPECT_DOUBLE_EQ(fromChart(s.current, r.log.scales.current), 10);
  EXPECT_EQ(s.temperature, 0);                      // "nan" reads as nothing
  EXPECT_DOUBLE_EQ(s.inputThrottle, -800.0 / 14);  // "inf" too: 0 us
  EXPECT_DOUBLE_EQ(s.outputThrottle, -5);
  EXPECT_EQ(s.speed, 0);                            // out of range
  EXPECT_EQ(s.protections, 3u);
}

// Each field is read where it starts and the walk goes on from where its
// number ended: a number read too far or too short would shift every field
// after it. The last row may end without a line feed.
TEST(CsvRead, EveryNumberEndsAtItsCommaAndTheLastRowNeedsNoLineFeed) {
  const CsvLoad r = parseCsv(kPreamble + "12345678901,8,1.2345678901234567,.5,9e,5.,1e,0007,2e1,x,  7\n" +
                             "-3,4, 20,1,0,80,1500,5,0,0,63");
  ASSERT_EQ(r.status, CsvParse::Loaded);
  ASSERT_EQ(r.log.samples.size(), 2u);
  const LogSample& a = r.log.samples[0];
  const FullScales& f = r.log.scales;
  EXPECT_EQ(a.session, 2147483647);  // clamped, and the next field still the frequency
  EXPECT_EQ(a.frequency, 8);
  EXPECT_DOUBLE_EQ(fromChart(a.voltage, f.voltage), 1.2345678901234567);
  EXPECT_DOUBLE_EQ(fromChart(a.current, f.current), 0.5);
  EXPECT_DOUBLE_EQ(fromChart(a.temperature, f.temperature), 5);
  EXPECT_DOUBLE_EQ(a.inputThrottle, (1 - 800) * 100.0 / 1400);
  EXPECT_DOUBLE_EQ(a.outputThrottle, 7);
  EXPECT_DOUBLE_EQ(fromChart(a.speed, f.speed), 0.01);  // 2e1 x 0.5 / 1000
  EXPECT_EQ(a.protections, 7u);
  const LogSample& b = r.log.samples[1];
  EXPECT_EQ(b.session, -3);
  EXPECT_DOUBLE_EQ(b.time, 0.125 + 0.25);
  EXPECT_DOUBLE_EQ(fromChart(b.voltage, f.voltage), 20);
  EXPECT_EQ(b.protections, 63u);  // read up to the very end of the text
}

TEST(CsvRead, GarbageNeverCrashesAndGivesOnlyFiniteValues) {
  std::mt19937 rng(7);
  const std::string alphabet = "0123456789,.-+#eE\n\r xN";
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const int length = static_cast<int>(rng() % 600);
    for (int i = 0; i < length; ++i)
      text += round % 4 == 0 ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
    const CsvLoad r = parseCsv(text);
    for (const LogSample& s : r.log.samples) {
      ASSERT_TRUE(std::isfinite(s.time) && std::isfinite(s.voltage) && std::isfinite(s.current) &&
                  std::isfinite(s.power) && std::isfinite(s.consumption) && std::isfinite(s.energy) &&
                  std::isfinite(s.speed) && std::isfinite(s.temperature))
          << round;
      ASSERT_LE(s.protections, 63u);
    }
  }
}

}  // namespace
}  // namespace orx::datalog
