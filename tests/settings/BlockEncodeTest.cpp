#include <gtest/gtest.h>

#include "protocol/BlockFrame.h"
#include "protocol/HalfFloat.h"
#include "protocol/SettingsBlockCodec.h"
#include "protocol/SettingsHandlers.h"
#include "SettingsFixture.h"

using namespace orx;
using namespace orx::test;

namespace {

// Decodes `kept` into fresh controls and returns them.
DialogState decoded(const EscSettings& kept) {
  DialogState s = windowAfterStart();
  EXPECT_TRUE(decodeSettingsBlock(s, kept));
  return s;
}

EscSettings encodeOk(DialogState& s, const EscSettings& kept) {
  BlockEncoding e = encodeSettingsBlock(s, kept);
  EXPECT_EQ(e.status, BlockEncodeStatus::Ok);
  return e.settings;
}

}  // namespace

TEST(BlockRoundTrip, UnchangedShortBlockGoesBackByteForByteWithItsSum) {
  const EscSettings kept = shortBlock();
  DialogState s = decoded(kept);
  const EscSettings sent = encodeOk(s, kept);
  EXPECT_EQ(sent.block, kept.block);
  EXPECT_EQ(sent.length, 41);

  const auto frame = settingsWriteFrame(sent);
  ASSERT_EQ(frame.size(), 43u);
  EXPECT_EQ(frame[0], 0xD1);
  EXPECT_EQ(frame[1], 41);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(frame[static_cast<size_t>(i) + 2], kept.block[static_cast<size_t>(i)]) << i;
  EXPECT_EQ(frame[42], kept.block[40]);  // the sum the ESC sent
}

TEST(BlockRoundTrip, UnchangedExtendedBlockGoesBackByteForByteWithItsSum) {
  for (int length : {44, 49, 60}) {
    const EscSettings kept = extendedBlock(length);
    DialogState s = decoded(kept);
    const EscSettings sent = encodeOk(s, kept);
    EXPECT_EQ(sent.block, kept.block) << length;

    const auto frame = settingsWriteFrame(sent);
    ASSERT_EQ(frame.size(), static_cast<size_t>(length));
    EXPECT_EQ(frame[0], 0xD1);
    for (int i = 1; i < length; ++i)
      EXPECT_EQ(frame[static_cast<size_t>(i)], kept.block[static_cast<size_t>(i)]) << length << " @" << i;
  }
}

TEST(BlockRoundTrip, ExtendedSumOfTheWorkedExample) {
  EscSettings k;
  k.LayoutFlag = true;
  k.length = 44;
  k.block[2] = 1;  // d[0]
  k.block[5] = 1;  // d[3]
  EXPECT_EQ(settingsWriteFrame(k).back(), 2);
  k.length = 0;
  EXPECT_TRUE(settingsWriteFrame(k).empty());
}

class BlockEncode : public ::testing::TestWithParam<bool> {
 protected:
  EscSettings kept = blockOf(GetParam(), sampleData());
  DialogState s = decoded(kept);
};

INSTANTIATE_TEST_SUITE_P(Layouts, BlockEncode, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Extended" : "Short"; });

TEST_P(BlockEncode, EditedControlsLandInTheirBytes) {
  s.setChecked(ctl::PropHoldDisabled, true);
  s.setChecked(ctl::PropHoldEnabled, false);
  s.setChecked(ctl::CutoffOff, true);
  s.setChecked(ctl::CutoffOn, false);
  s.select(ctl::CutoffLevel, 3);
  s.select(ctl::DriveFrequency, 2);
  s.select(ctl::AdvanceTiming, 0);
  s.setChecked(ctl::DirectionForward, false);
  s.setChecked(ctl::DirectionReverse, true);
  s.setChecked(ctl::SyncRectEnabled, false);
  s.setChecked(ctl::SyncRectDisabled, true);
  s.select(ctl::Overload, 2);
  s.select(ctl::DataLogSpeed, 4);
  s.setChecked(ctl::StallEnabled, false);
  s.setChecked(ctl::StallDisabled, true);
  s.select(ctl::CanControl, 1);
  s.select(ctl::DroneCanMotor, 20);  // not DRONECAN: d[7] stays
  s.setChecked(ctl::NodeInitial, true);
  s.select(ctl::CanBaud, 5);
  const EscSettings b = encodeOk(s, kept);
  EXPECT_EQ(b.d(0), 0);
  EXPECT_EQ(b.d(3), 0);
  EXPECT_EQ(b.d(4), 36);
  EXPECT_EQ(b.d(5), 2);
  EXPECT_EQ(b.d(6), 1);
  EXPECT_EQ(b.d(7), 5);
  EXPECT_EQ(b.d(8), 0);
  EXPECT_EQ(b.d(9), 0);
  EXPECT_EQ(b.d(14), 2);
  EXPECT_EQ(b.d(34), 255);
  EXPECT_EQ(b.d(35), 0);
  EXPECT_EQ(b.d(36), 1);
  EXPECT_EQ(b.d(38), 1);
  EXPECT_EQ(b.d(39), 5);
  EXPECT_EQ(b.d(1), 0xAB);
  EXPECT_EQ(b.d(2), 0xCD);
}

TEST_P(BlockEncode, BaudOutsideTheTableComesBackAsDisabled) {
  auto d = sampleData();
  d[39] = 7;
  kept = blockOf(GetParam(), d);
  s = decoded(kept);
  EXPECT_EQ(encodeOk(s, kept).d(39), 5);
}

TEST_P(BlockEncode, AccelerationGoesToTheByteOfTheChosenEditionOnly) {
  s.select(ctl::Acceleration, 0);  // MOTOR-05 decoded
  EscSettings b = encodeOk(s, kept);
  EXPECT_EQ(b.d(15), 12);
  EXPECT_EQ(b.d(18), 0);
  EXPECT_EQ(b.d(19), 3);

  s.select(ctl::MotorEdition, 0);
  s.select(ctl::Acceleration, 1);
  b = encodeOk(s, kept);
  EXPECT_EQ(b.d(15), 0);
  EXPECT_EQ(b.d(19), 1);
  EXPECT_EQ(b.d(18), 2);
}

TEST_P(BlockEncode, CustomMotorWritesOnlyResponsesTheFocusCheckAllows) {
  s.select(ctl::MotorEdition, kCustomMotorEntry);
  s.setText(ctl::ResponseRunning, "150");
  s.setText(ctl::ResponseStarting, "80");
  EscSettings b = encodeOk(s, kept);
  EXPECT_EQ(b.d(15), 13);
  EXPECT_EQ(b.d(16), 60);  // as read
  EXPECT_EQ(b.d(11), 80);
  EXPECT_EQ(b.d(18), 2);   // no acceleration byte for CUSTOM MOTOR
  EXPECT_TRUE(s.enabled(ctl::ResponseRunning));
  EXPECT_FALSE(s.enabled(ctl::Acceleration));

  s.setText(ctl::ResponseRunning, "0");
  s.setText(ctl::ResponseStarting, "-4");
  b = encodeOk(s, kept);
  EXPECT_EQ(b.d(16), 60);
  EXPECT_EQ(b.d(11), 40);
}

TEST_P(BlockEncode, RangeIsCheckedAndWrittenLittleEndian) {
  s.setText(ctl::RangeMin, "1250");
  s.setText(ctl::RangeMax, "1750");
  EscSettings b = encodeOk(s, kept);
  EXPECT_EQ(b.d(26), 0xE2);
  EXPECT_EQ(b.d(27), 0x04);
  EXPECT_EQ(b.d(28), 0xD6);
  EXPECT_EQ(b.d(29), 0x06);

  for (auto [min, max] : {std::pair{"799", "1900"}, {"1251", "1900"}, {"1100", "1749"}, {"1100", "2201"},
                          {"", "1900"}}) {
    s.setText(ctl::RangeMin, min);
    s.setText(ctl::RangeMax, max);
    const BlockEncoding e = encodeSettingsBlock(s, kept);
    EXPECT_EQ(e.status, BlockEncodeStatus::RangeIncorrect) << min << " " << max;
    EXPECT_FALSE(blockEncodeMessage(e.status).has_value());
  }
  EXPECT_STREQ(kRangeIncorrectStatus, "CALIBRATION RANGE INCORRECT");
}

TEST_P(BlockEncode, RangeResetIsSentOnceAfterLeavingRangeMode) {
  s.select(ctl::CalibrationMode, 0);
  OnCalibrationModeChange(s);
  ASSERT_TRUE(s.flags.RangeResetPending);
  const EscSettings first = encodeOk(s, kept);
  EXPECT_EQ(first.d(13), 0);
  EXPECT_EQ(first.d(26), 0x4C);
  EXPECT_EQ(first.d(27), 0x04);
  EXPECT_EQ(first.d(28), 0x94);
  EXPECT_EQ(first.d(29), 0x07);
  EXPECT_FALSE(s.flags.RangeResetPending);

  // The ESC kept its old range: the second send leaves it.
  const EscSettings second = encodeOk(s, kept);
  EXPECT_EQ(second.d(26), 0x7E);
  EXPECT_EQ(second.d(28), 0x6C);
}

TEST_P(BlockEncode, UnselectedListsKeepTheirBytes) {
  for (int id : {ctl::CutoffLevel, ctl::DriveFrequency, ctl::AdvanceTiming, ctl::StartupPower,
                 ctl::ArmingTones, ctl::CalibrationMode, ctl::Overload, ctl::MotorEdition,
                 ctl::DataLogSpeed, ctl::Adapter, ctl::NodeId, ctl::CanBaud})
    s.select(id, -1);
  s.setChecked(ctl::NodeInitial, false);
  s.setChecked(ctl::NodeFixed, true);
  const EscSettings b = encodeOk(s, kept);
  for (int k : {4, 5, 6, 10, 12, 13, 14, 15, 18, 19, 34, 37, 38, 39})
    EXPECT_EQ(b.d(k), kept.d(k)) << "d[" << k << "]";
}

TEST_P(BlockEncode, BrakingWithoutSelectionEncodesTheFirstEntry) {
  s.select(ctl::SrBraking, -1);
  EXPECT_EQ(encodeOk(s, kept).d(9), 1);
}

TEST(BlockEncodeAdc, TextsAreParsedIntoBlockPositions44To47) {
  for (bool extended : {false, true}) {
    EscSettings kept = extended ? extendedBlock(52) : shortBlock();
    if (!extended) kept.length = 52;  // a short block long enough to carry the values
    DialogState s = decoded(kept);
    s.setText(ctl::AdcGain, "12.5 ");
    s.setText(ctl::AdcOffset, "-3");
    const EscSettings b = encodeOk(s, kept);
    EXPECT_EQ(b.block[44] << 8 | b.block[45], toHalf(12.5)) << extended;
    EXPECT_EQ(b.block[46] << 8 | b.block[47], toHalf(-3.0)) << extended;
    EXPECT_EQ(b.block[42], kept.block[42]) << extended;
    EXPECT_EQ(b.block[43], kept.block[43]) << extended;
    // What is written is what the next read shows.
    DialogState again = windowAfterStart();
    decodeSettingsBlock(again, b);
    EXPECT_EQ(again.text(ctl::AdcGain), "12.5");
    EXPECT_EQ(again.text(ctl::AdcOffset), "-3.0");
  }
}

TEST(BlockEncodeAdc, BadTextsStopTheSendWithTheirBoxAndKeepTheRangeReset) {
  const EscSettings kept = extendedBlock(49);
  DialogState s = decoded(kept);
  s.select(ctl::CalibrationMode, 1);
  OnCalibrationModeChange(s);

  s.setText(ctl::AdcGain, "17.5 x");
  BlockEncoding e = encodeSettingsBlock(s, kept);
  EXPECT_EQ(e.status, BlockEncodeStatus::AdcGainFormat);
  ASSERT_TRUE(blockEncodeMessage(e.status).has_value());
  EXPECT_EQ(blockEncodeMessage(e.status)->text, adcErrorMessage(AdcError::GainFormat).text);
  EXPECT_TRUE(s.flags.RangeResetPending);

  s.setText(ctl::AdcGain, "17.5");
  s.setText(ctl::AdcOffset, "+");
  EXPECT_EQ(encodeSettingsBlock(s, kept).status, BlockEncodeStatus::AdcOffsetFormat);
  s.setText(ctl::AdcOffset, "1");
  s.setText(ctl::AdcGain, "0");
  EXPECT_EQ(encodeSettingsBlock(s, kept).status, BlockEncodeStatus::AdcGainNotPositive);
  EXPECT_TRUE(s.flags.RangeResetPending);

  // A 44-byte block has no ADC values: the texts are not even looked at.
  const EscSettings plain = extendedBlock(44);
  EXPECT_EQ(encodeSettingsBlock(s, plain).status, BlockEncodeStatus::Ok);
  EXPECT_FALSE(s.flags.RangeResetPending);
}
