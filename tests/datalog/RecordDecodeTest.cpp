// Record fields, fillers and end markers, worked out by hand from the record
// layout; then the whole decode: sample count, times, derived quantities,
// duration, full scales and latched protections.
#include <gtest/gtest.h>

#include <cmath>

#include "RecordBuilder.h"
#include "datalog/LogDecode.h"
#include "datalog/LogRecord.h"

namespace orx::datalog {
namespace {

using test::makeRecord;
using test::RecordFields;

TEST(LogRecordFields, EveryFieldFromItsBytes) {
  // 25 C, 35.01 A, 50 %, 205 x 60 RPM, 25.20 V, 1500 us, session 3 at 4 Hz.
  const test::Record r = {0x19, 0xAD, 0x0D, 0x32, 0xCD, 0x00, 0xD8, 0x09, 0xDC, 0x05, 0x42};
  const RawRecord d = decodeRecord(r);
  EXPECT_EQ(d.temperatureC, 25u);
  EXPECT_EQ(d.currentCentiAmps, 3501u);
  EXPECT_EQ(d.outputThrottle, 50u);
  EXPECT_EQ(d.speedValue, 205u);
  EXPECT_EQ(d.voltageCentiVolts, 2520u);
  EXPECT_EQ(d.inputThrottleUs, 1500u);
  EXPECT_EQ(d.protections, 0u);
  EXPECT_EQ(d.session, 3);
  EXPECT_EQ(d.frequencyHz, 4);
}

TEST(LogRecordFields, FlagBitsAboveThirteenBitValues) {
  test::Record r = makeRecord({});
  r[7] = 0xE0;
  r[9] = 0xE0;
  r[6] = 0x00;
  r[8] = 0x00;
  RawRecord d = decodeRecord(r);
  EXPECT_EQ(d.protections, kAllProtections);
  EXPECT_EQ(d.voltageCentiVolts, 0u);
  EXPECT_EQ(d.inputThrottleUs, 0u);

  r[7] = 0x1F;
  r[9] = 0x1F;
  r[6] = 0xFF;
  r[8] = 0xFF;
  d = decodeRecord(r);
  EXPECT_EQ(d.protections, 0u);
  EXPECT_EQ(d.voltageCentiVolts, 0x1FFFu);  // 81.91 V
  EXPECT_EQ(d.inputThrottleUs, 0x1FFFu);

  // Each flag from its own bit: byte 7 bits 5-7 are flags 0-2, byte 9 bits 5-7 flags 3-5.
  r[7] = 0x40;
  r[9] = 0x80;
  EXPECT_EQ(decodeRecord(r).protections, kOverTemp | kVoltageCutoff);
  EXPECT_EQ(decodeRecord(r).voltageCentiVolts, 0xFFu);
}

TEST(LogRecordFields, SessionAndFrequencyCodes) {
  test::Record r = makeRecord({});
  r[10] = 0x3F;
  EXPECT_EQ(decodeRecord(r).session, 64);
  EXPECT_EQ(decodeRecord(r).frequencyHz, 8);
  r[10] = 0xC0;
  EXPECT_EQ(decodeRecord(r).session, 1);
  EXPECT_EQ(decodeRecord(r).frequencyHz, 1);
  EXPECT_EQ(frequencyOfCode(1), 4);
  EXPECT_EQ(frequencyOfCode(2), 2);
}

TEST(LogRecordFields, FillerAndEndMarkerNeedAllThreeBytes) {
  EXPECT_TRUE(isFillerRecord(test::fillerRecord()));
  EXPECT_TRUE(isEndMarker(test::endMarker()));
  test::Record r = test::fillerRecord();
  r[3] = 0x87;
  EXPECT_FALSE(isFillerRecord(r));
  r = test::endMarker();
  r[5] = 0xFE;
  EXPECT_FALSE(isEndMarker(r));
  // Too short to be a record at all.
  const std::uint8_t part[5] = {0xFF, 0xFF, 0, 0, 0};
  EXPECT_FALSE(isEndMarker(part));
  EXPECT_EQ(decodeRecord(part).session, 1);
}

TEST(LogDecode, EmptyDownloadHasNoLogAndOneRecordHasNoSamples) {
  EXPECT_FALSE(decodeLog({}).has_value());
  const auto one = decodeLog(test::recordsOf({{}}));
  ASSERT_TRUE(one.has_value());
  EXPECT_TRUE(one->samples.empty());
  EXPECT_EQ(one->duration, 0);
}

TEST(LogDecode, LastRecordIsNotUsedAndFillersTakeNoSlot) {
  std::vector<std::uint8_t> bytes;
  test::append(bytes, makeRecord({.centiAmps = 100}));
  test::append(bytes, test::fillerRecord());
  test::append(bytes, makeRecord({.centiAmps = 200}));
  test::append(bytes, makeRecord({.centiAmps = 300}));
  test::append(bytes, makeRecord({.centiAmps = 400}));
  const auto log = decodeLog(bytes);
  ASSERT_TRUE(log.has_value());
  // Five records: four samples at most, and only four are not fillers.
  ASSERT_EQ(log->samples.size(), 4u);
  EXPECT_DOUBLE_EQ(log->samples[1].time, 0.25);  // the filler left no gap
  EXPECT_DOUBLE_EQ(log->samples[3].time, 0.5);
  EXPECT_DOUBLE_EQ(log->scales.current, 5);
  EXPECT_DOUBLE_EQ(log->samples[3].current, 80);  // 4 A of 5
}

TEST(LogDecode, MoreFillersThanOneNeverUseEmptySlots) {
  std::vector<std::uint8_t> bytes;
  test::append(bytes, makeRecord({.centiAmps = 100}));
  test::append(bytes, test::fillerRecord());
  test::append(bytes, test::fillerRecord());
  test::append(bytes, makeRecord({.centiAmps = 200}));
  const auto log = decodeLog(bytes);
  ASSERT_TRUE(log.has_value());
  ASSERT_EQ(log->samples.size(), 2u);
  EXPECT_DOUBLE_EQ(log->samples[1].current, 40);  // 2 A of 5, not a zero slot
}

TEST(LogDecode, PhysicalQuantitiesAndChartValues) {
  // Two samples at 8 Hz of 36 A at 20 V, 25 C, input 1500 us, speed 410 x 60.
  const RecordFields f{.tempC = 25, .centiAmps = 3600, .outThrottle = 40, .speedValue = 410,
                       .centiVolts = 2000, .inputUs = 1500};
  const auto log = decodeLog(test::recordsOf({f, f, f}));
  ASSERT_TRUE(log.has_value());
  ASSERT_EQ(log->samples.size(), 2u);
  const FullScales& s = log->scales;
  EXPECT_DOUBLE_EQ(s.voltage, 25);     // ceil 20 + 5
  EXPECT_DOUBLE_EQ(s.current, 40);     // 36 up to a multiple of 5
  EXPECT_DOUBLE_EQ(s.power, 900);      // 720 W up to a multiple of 300
  EXPECT_DOUBLE_EQ(s.speed, 20);       // 12.3 thousand RPM: ceil 13, up to 20
  EXPECT_DOUBLE_EQ(s.temperature, 210);
  EXPECT_DOUBLE_EQ(s.consumption, 1);  // 0.0025 Ah
  EXPECT_DOUBLE_EQ(s.energy, 1);       // 0.05 Wh

  const LogSample& a = log->samples[0];
  const LogSample& b = log->samples[1];
  EXPECT_DOUBLE_EQ(a.time, 0.125);  // the first sample lies one interval in
  EXPECT_DOUBLE_EQ(b.time, 0.25);
  EXPECT_DOUBLE_EQ(a.voltage, 80);
  EXPECT_DOUBLE_EQ(a.current, 90);
  EXPECT_DOUBLE_EQ(a.power, 80);
  EXPECT_DOUBLE_EQ(a.temperature, 77.0 * 100 / 210);  // 25 C = 77 F
  EXPECT_DOUBLE_EQ(a.outputThrottle, 40);
  EXPECT_DOUBLE_EQ(a.inputThrottle, 50);  // (1500 - 800) x 100 / 1400
  EXPECT_NEAR(a.speed, 12.3 * 100 / 20, 1e-9);
  // 36 A for 1/8 s is 0.00125 Ah; at 20 V 0.025 Wh; both accumulate.
  EXPECT_NEAR(a.consumption, 0.125, 1e-12);
  EXPECT_NEAR(b.consumption, 0.25, 1e-12);
  EXPECT_NEAR(a.energy, 2.5, 1e-12);
  EXPECT_NEAR(b.energy, 5, 1e-12);
}

TEST(LogDecode, FullScalesFromTheWorkedMaxima) {
  auto scalesOf = [](RecordFields f) { return decodeLog(test::recordsOf({f, f}))->scales; };
  EXPECT_DOUBLE_EQ(scalesOf({.centiVolts = 2520}).voltage, 31);
  EXPECT_DOUBLE_EQ(scalesOf({.centiAmps = 3501}).current, 40);
  EXPECT_DOUBLE_EQ(scalesOf({.centiAmps = 3500}).current, 35);
  EXPECT_DOUBLE_EQ(scalesOf({.centiAmps = 3000, .centiVolts = 3000}).power, 900);
  EXPECT_DOUBLE_EQ(scalesOf({.centiAmps = 3000, .centiVolts = 3001}).power, 1200);
  EXPECT_DOUBLE_EQ(scalesOf({.speedValue = 410}).speed, 20);
  EXPECT_DOUBLE_EQ(scalesOf({.centiVolts = 0x1FFF}).voltage, 87);  // 81.91 V
}

TEST(LogDecode, NoCurrentGivesZeroChartValuesNotNaN) {
  const auto log = decodeLog(test::recordsOf({{.centiAmps = 0}, {.centiAmps = 0}, {}}));
  ASSERT_TRUE(log.has_value());
  EXPECT_EQ(log->scales.current, 0);
  EXPECT_EQ(log->scales.power, 0);
  EXPECT_EQ(log->scales.consumption, 0);
  for (const LogSample& s : log->samples) {
    EXPECT_EQ(s.current, 0);
    EXPECT_EQ(s.power, 0);
    EXPECT_EQ(s.consumption, 0);
    EXPECT_EQ(s.energy, 0);
  }
}

TEST(LogDecode, FrequencyCodesGiveTheirIntervals) {
  const double interval[4] = {0.125, 0.25, 0.5, 1};
  for (unsigned code = 0; code < 4; ++code) {
    const RecordFields f{.freqCode = code};
    const auto log = decodeLog(test::recordsOf({f, f, f}));
    ASSERT_EQ(log->samples.size(), 2u);
    EXPECT_DOUBLE_EQ(log->samples[1].time - log->samples[0].time, interval[code]) << code;
    EXPECT_DOUBLE_EQ(log->duration, 2 * interval[code]);
    EXPECT_EQ(log->samples[0].frequency, 8 >> code);
  }
}

TEST(LogDecode, RateChangeLeavesItsIntervalOutOfTheDuration) {
  std::vector<RecordFields> fields(100, RecordFields{.freqCode = 0});
  fields.insert(fields.end(), 101, RecordFields{.freqCode = 1});  // the last is not used
  const auto log = decodeLog(test::recordsOf(fields));
  ASSERT_EQ(log->samples.size(), 200u);
  EXPECT_DOUBLE_EQ(log->samples[99].time, 12.5);
  EXPECT_DOUBLE_EQ(log->samples[100].time, 12.75);  // the sample keeps its interval
  EXPECT_DOUBLE_EQ(log->samples[199].time, 37.5);
  EXPECT_DOUBLE_EQ(log->duration, 37.25);           // the duration does not
}

TEST(LogDecode, ProtectionsLatchFromEveryRecord) {
  const auto log = decodeLog(test::recordsOf({{.flags = kOverload}, {}, {.flags = kUnderVoltage}}));
  ASSERT_EQ(log->samples.size(), 2u);
  EXPECT_EQ(log->samples[0].protections, unsigned{kOverload});
  EXPECT_EQ(log->samples[1].protections, 0u);
  // The last record is not plotted, but the ESC did log its trip.
  EXPECT_EQ(log->tripped, unsigned{kOverload | kUnderVoltage});
}

TEST(LogDecode, PartRecordAtTheEndIsIgnored) {
  std::vector<std::uint8_t> bytes = test::recordsOf({{}, {}, {}});
  bytes.resize(bytes.size() + 7, 0xAB);
  const auto log = decodeLog(bytes);
  ASSERT_TRUE(log.has_value());
  EXPECT_EQ(log->samples.size(), 2u);
}

}  // namespace
}  // namespace orx::datalog
