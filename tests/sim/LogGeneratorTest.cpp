// The generated log must look like real flights to the decoder: record
// layout, sessions, rates, fillers, protection flags and believable values.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tools/LogGenerator.h"
#include "tools/LogRecord.h"

namespace orx::sim {
namespace {

struct Walk {
  std::vector<LogRecord> records;  // fillers left out
  std::vector<std::size_t> fillerAt;
  std::size_t markerAt = kMaxRecords;  // record index of the end marker, kMaxRecords when none
};

Walk walk(const Bytes& memory) {
  Walk w;
  for (std::size_t r = 0; r < kMaxRecords; ++r) {
    const std::uint8_t* rec = memory.data() + r * kRecordSize;
    if (isEndMarker(rec)) {
      w.markerAt = r;
      break;
    }
    if (isFiller(rec)) {
      w.fillerAt.push_back(r);
      continue;
    }
    w.records.push_back(decodeRecord(rec));
  }
  return w;
}

TEST(LogRecordLayout, FieldsLandInTheirBitsAndClip) {
  LogRecord r;
  r.temperatureC = 61;
  r.currentCentiAmps = 3501;
  r.outputThrottle = 55;
  r.speedValue = 0x1234;
  r.voltageCentiVolts = 0x1FFF;
  r.inputThrottleUs = 1500;
  r.protections = 0x3F;
  r.session = 64;
  r.frequencyCode = 3;
  const RecordBytes b = encodeRecord(r);
  EXPECT_EQ(b, (RecordBytes{61, 0xAD, 0x0D, 55, 0x34, 0x12, 0xFF, 0xFF, 0xDC, 0xE5, 0xFF}));
  const LogRecord back = decodeRecord(b.data());
  EXPECT_EQ(back.voltageCentiVolts, 0x1FFFu);  // the flags above never touch the voltage
  EXPECT_EQ(back.inputThrottleUs, 1500u);
  EXPECT_EQ(back.protections, 0x3Fu);
  EXPECT_EQ(back.session, 64u);
  EXPECT_EQ(back.frequencyCode, 3u);

  LogRecord wild;
  wild.voltageCentiVolts = 99999;
  wild.inputThrottleUs = 99999;
  wild.protections = 0xFF;
  wild.session = 0;
  const LogRecord clipped = decodeRecord(encodeRecord(wild).data());
  EXPECT_EQ(clipped.voltageCentiVolts, 0x1FFFu);
  EXPECT_EQ(clipped.inputThrottleUs, 0x1FFFu);
  EXPECT_EQ(clipped.protections, 0x3Fu);
  EXPECT_EQ(clipped.session, 1u);
}

TEST(LogGenerator, FillsWholeRecordsThenTheEndMarkerThenErased) {
  LogFill fill;
  fill.bytes = 5000;  // 454 records and 6 bytes that hold none
  const Bytes memory = generateLog(fill);
  ASSERT_EQ(memory.size(), kLogMemorySize);
  const Walk w = walk(memory);
  EXPECT_EQ(w.markerAt, 454u);
  EXPECT_TRUE(std::all_of(memory.begin() + 454 * 11, memory.end(), [](std::uint8_t b) { return b == 0xFF; }));

  fill.bytes = 0;
  EXPECT_EQ(walk(generateLog(fill)).markerAt, 0u);
  fill.bytes = kLogMemorySize;
  const Walk full = walk(generateLog(fill));
  EXPECT_EQ(full.markerAt, kMaxRecords);
  EXPECT_EQ(full.records.size() + full.fillerAt.size(), kMaxRecords);
}

TEST(LogGenerator, SessionsRatesAndFillersAsARealEscWritesThem) {
  LogFill fill;
  fill.bytes = 30000;
  fill.sessions = 4;
  const Walk w = walk(generateLog(fill));
  ASSERT_FALSE(w.records.empty());
  // fillers only between sessions
  EXPECT_FALSE(w.fillerAt.empty());
  EXPECT_GT(w.fillerAt.front(), 0u);

  std::map<unsigned, std::vector<unsigned>> codes;  // session -> frequency codes in order
  unsigned previous = 1;
  for (const LogRecord& r : w.records) {
    EXPECT_GE(r.session, previous);
    previous = r.session;
    codes[r.session].push_back(r.frequencyCode);
  }
  ASSERT_EQ(codes.size(), 4u);
  // all four rates appear, and the second flight switches from 8 Hz to 4 Hz
  std::vector<bool> seen(4, false);
  for (const auto& [session, list] : codes) {
    for (unsigned c : list) seen[c] = true;
  }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 4);
  const auto& second = codes[2];
  EXPECT_EQ(second.front(), 0u);
  EXPECT_EQ(second.back(), 1u);
  for (unsigned s : {1u, 3u, 4u}) {
    EXPECT_TRUE(std::all_of(codes[s].begin(), codes[s].end(), [&](unsigned c) { return c == codes[s][0]; })) << s;
  }
}

TEST(LogGenerator, EveryFlightLooksLikeOne) {
  LogFill fill;
  fill.bytes = kLogMemorySize;
  fill.sessions = 5;
  const Walk w = walk(generateLog(fill));
  std::map<unsigned, std::vector<LogRecord>> flights;
  for (const LogRecord& r : w.records) flights[r.session].push_back(r);
  ASSERT_EQ(flights.size(), 5u);
  for (const auto& [session, rs] : flights) {
    SCOPED_TRACE(session);
    ASSERT_GT(rs.size(), 50u);
    unsigned maxCurrent = 0;
    unsigned maxTemp = 0;
    unsigned maxSpeed = 0;
    for (const LogRecord& r : rs) {
      EXPECT_GE(r.voltageCentiVolts, 3800u);  // a 12-cell pack, never below 3.2 V a cell
      EXPECT_LE(r.voltageCentiVolts, 5050u);
      EXPECT_GE(r.inputThrottleUs, 1000u);
      EXPECT_LE(r.inputThrottleUs, 2000u);
      EXPECT_LE(r.outputThrottle, 100u);
      EXPECT_LT(r.temperatureC, 120u);
      maxCurrent = std::max(maxCurrent, r.currentCentiAmps);
      maxTemp = std::max(maxTemp, r.temperatureC);
      maxSpeed = std::max(maxSpeed, r.speedValue);
    }
    // armed and idling at both ends, working hard in between
    EXPECT_LT(rs.front().currentCentiAmps, 300u);
    EXPECT_LT(rs.back().currentCentiAmps, 300u);
    EXPECT_LT(rs.front().inputThrottleUs, 1100u);
    EXPECT_GT(maxCurrent, 2500u);
    EXPECT_GT(maxTemp, rs.front().temperatureC + 5);
    EXPECT_GT(maxSpeed, 100u);
    EXPECT_GT(rs.front().voltageCentiVolts, rs.back().voltageCentiVolts);  // the battery ran down
  }
}

TEST(LogGenerator, ProtectionTripsOnlyWhereAskedFor) {
  LogFill fill;
  fill.bytes = 40000;
  unsigned trips[64] = {};
  for (const LogRecord& r : walk(generateLog(fill)).records) trips[r.protections] += 1;
  unsigned overTemp = 0;
  unsigned under = 0;
  unsigned cutoff = 0;
  for (unsigned f = 0; f < 64; ++f) {
    if (f & kOverTemp) overTemp += trips[f];
    if (f & kUnderVoltage) under += trips[f];
    if (f & kVoltageCutoff) cutoff += trips[f];
  }
  EXPECT_GT(overTemp, 0u);
  EXPECT_GT(under, cutoff);
  EXPECT_GT(cutoff, 0u);

  fill.protectionEvents = false;
  for (const LogRecord& r : walk(generateLog(fill)).records) ASSERT_EQ(r.protections, 0u);
}

TEST(LogGenerator, SameSeedSameLog) {
  LogFill fill;
  EXPECT_EQ(generateLog(fill), generateLog(fill));
  LogFill other = fill;
  other.seed = 99;
  EXPECT_NE(generateLog(fill), generateLog(other));
}

}  // namespace
}  // namespace orx::sim
