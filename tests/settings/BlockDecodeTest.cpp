#include <gtest/gtest.h>

#include "protocol/SettingsBlockCodec.h"
#include "SettingsFixture.h"

using namespace orx;
using namespace orx::test;

class BlockDecode : public ::testing::TestWithParam<bool> {
 protected:
  bool extended() const { return GetParam(); }
  EscSettings block(std::vector<uint8_t> d = sampleData()) const { return blockOf(extended(), std::move(d)); }
  DialogState s = windowAfterStart();
};

INSTANTIATE_TEST_SUITE_P(Layouts, BlockDecode, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Extended" : "Short"; });

TEST_P(BlockDecode, FillsEveryControlOfAValidBlock) {
  ASSERT_TRUE(decodeSettingsBlock(s, block()));
  EXPECT_TRUE(s.checked(ctl::PropHoldEnabled));
  EXPECT_FALSE(s.checked(ctl::PropHoldDisabled));
  EXPECT_TRUE(s.checked(ctl::CutoffOn));
  EXPECT_TRUE(s.enabled(ctl::CutoffLevel));
  EXPECT_EQ(s.selectedText(ctl::CutoffLevel), "3.4 V/CELL");
  EXPECT_EQ(s.selectedText(ctl::DriveFrequency), "DYNAMIC");
  EXPECT_EQ(s.selectedText(ctl::AdvanceTiming), "PRECISION");
  EXPECT_EQ(s.selectedText(ctl::DroneCanMotor), "ID 06");
  EXPECT_EQ(s.selectedText(ctl::DroneCanPoles), "14");
  EXPECT_TRUE(s.checked(ctl::DirectionForward));
  EXPECT_TRUE(s.checked(ctl::SyncRectEnabled));
  EXPECT_EQ(s.selectedText(ctl::SrBraking), "DYNAMIC");
  EXPECT_EQ(s.selectedText(ctl::StartupPower), "LOW (SOFT)");
  EXPECT_EQ(s.selectedText(ctl::ArmingTones), "ARM ONLY");
  EXPECT_EQ(s.selectedText(ctl::CalibrationMode), "RANGE");
  EXPECT_EQ(s.text(ctl::RangeMin), "1150");
  EXPECT_EQ(s.text(ctl::RangeMax), "1900");
  EXPECT_TRUE(s.enabled(ctl::RangeMin));
  EXPECT_EQ(s.selectedText(ctl::Overload), "STANDARD");
  EXPECT_EQ(s.selectedText(ctl::MotorEdition), "MOTOR-05");
  EXPECT_EQ(s.selectedText(ctl::Acceleration), "HIGH");  // d[18], not d[19]
  EXPECT_FALSE(s.enabled(ctl::ResponseRunning));
  EXPECT_EQ(s.selectedText(ctl::DataLogSpeed), "2HZ");
  EXPECT_TRUE(s.checked(ctl::StallEnabled));
  EXPECT_EQ(s.selectedText(ctl::CanControl), "DRONECAN");
  EXPECT_TRUE(s.enabled(ctl::DroneCanMotor));
  EXPECT_EQ(s.selectedText(ctl::Adapter), "TRIPLE");
  EXPECT_TRUE(s.checked(ctl::NodeFixed));
  EXPECT_FALSE(s.checked(ctl::NodeInitial));
  EXPECT_EQ(s.selectedText(ctl::NodeId), "ID 09");
  EXPECT_EQ(s.text(ctl::EscId), "09");
  EXPECT_EQ(s.selectedText(ctl::CanBaud), "250K");
  EXPECT_TRUE(s.enabled(ctl::CanBaud));
}

TEST_P(BlockDecode, OutOfTableCutoffLevelIsInvalidButLaterBytesUpToModeStillApply) {
  auto d = sampleData();
  d[4] = 33;
  EXPECT_FALSE(decodeSettingsBlock(s, block(d)));
  EXPECT_TRUE(s.checked(ctl::PropHoldEnabled));   // before d[4]
  EXPECT_TRUE(s.checked(ctl::CutoffOn));
  EXPECT_EQ(s.selection(ctl::CutoffLevel), -1);
  EXPECT_EQ(s.selectedText(ctl::DriveFrequency), "DYNAMIC");  // after d[4], up to d[13]
  EXPECT_EQ(s.selectedText(ctl::CalibrationMode), "RANGE");
  // Past d[13] nothing is written.
  EXPECT_EQ(s.text(ctl::RangeMin), "");
  EXPECT_EQ(s.selection(ctl::Overload), -1);
  EXPECT_EQ(s.selection(ctl::MotorEdition), -1);
  EXPECT_EQ(s.text(ctl::EscId), "");
}

TEST_P(BlockDecode, OutOfTableModeEndsAtOnceAndOtherBytesOnlyMarkInvalid) {
  auto d = sampleData();
  d[13] = 3;
  EXPECT_FALSE(decodeSettingsBlock(s, block(d)));
  EXPECT_EQ(s.selectedText(ctl::ArmingTones), "ARM ONLY");
  EXPECT_EQ(s.selection(ctl::Overload), -1);

  for (int k : {3, 5, 6, 9, 10, 12}) {
    DialogState t = windowAfterStart();
    auto bad = sampleData();
    bad[static_cast<size_t>(k)] = 9;
    EXPECT_FALSE(decodeSettingsBlock(t, block(bad))) << "d[" << k << "]";
    EXPECT_EQ(t.selectedText(ctl::CalibrationMode), "RANGE") << "d[" << k << "]";
  }
  // Bytes without an invalid rule never fail the block.
  auto odd = sampleData();
  odd[8] = 7;
  odd[14] = 9;
  odd[15] = 200;
  odd[34] = 100;
  odd[35] = 5;
  odd[37] = 9;
  EXPECT_TRUE(decodeSettingsBlock(s, block(odd)));
}

TEST_P(BlockDecode, OverloadNodeAndBaudBytes) {
  auto d = sampleData();
  d[14] = 1;
  d[38] = 1;
  d[39] = 7;
  ASSERT_TRUE(decodeSettingsBlock(s, block(d)));
  EXPECT_EQ(s.selectedText(ctl::Overload), "ULTRA-HIGH");
  EXPECT_TRUE(s.enabled(ctl::Overload));
  EXPECT_TRUE(s.checked(ctl::NodeInitial));
  EXPECT_FALSE(s.checked(ctl::NodeFixed));
  EXPECT_EQ(s.selection(ctl::NodeId), -1);
  EXPECT_FALSE(s.enabled(ctl::NodeId));
  EXPECT_EQ(s.text(ctl::EscId), "---");
  EXPECT_EQ(s.selectedText(ctl::CanBaud), "DISABLED");

  d[14] = 0;
  d[38] = 0;
  ASSERT_TRUE(decodeSettingsBlock(s, block(d)));
  EXPECT_EQ(s.selectedText(ctl::Overload), "STANDARD");
  EXPECT_EQ(s.text(ctl::EscId), "---");
}

TEST_P(BlockDecode, CustomMotorShowsThrottleResponseInsteadOfAcceleration) {
  auto d = sampleData();
  d[15] = 13;
  ASSERT_TRUE(decodeSettingsBlock(s, block(d)));
  EXPECT_EQ(s.selectedText(ctl::MotorEdition), "CUSTOM MOTOR");
  EXPECT_EQ(s.text(ctl::ResponseRunning), "60");
  EXPECT_EQ(s.text(ctl::ResponseStarting), "40");
  EXPECT_TRUE(s.enabled(ctl::ResponseRunning));
  EXPECT_TRUE(s.enabled(ctl::ResponseStarting));
  EXPECT_EQ(s.selection(ctl::Acceleration), -1);
  EXPECT_FALSE(s.enabled(ctl::Acceleration));

  // Back to an edition with an acceleration byte: the edits empty and off.
  d[15] = 0;
  ASSERT_TRUE(decodeSettingsBlock(s, block(d)));
  EXPECT_EQ(s.selectedText(ctl::Acceleration), "ULTRA-HIGH");  // d[19]
  EXPECT_TRUE(s.enabled(ctl::Acceleration));
  EXPECT_EQ(s.text(ctl::ResponseRunning), "");
  EXPECT_FALSE(s.enabled(ctl::ResponseStarting));
}

TEST_P(BlockDecode, DefaultEditionShowsTheSingleAdapterEntryAndANewReadBringsTheListBack) {
  auto d = sampleData();
  d[15] = 0;
  ASSERT_TRUE(decodeSettingsBlock(s, block(d)));
  EXPECT_EQ(s.items(ctl::Adapter), lists::adapterDefaultOnly());
  EXPECT_EQ(s.selectedText(ctl::Adapter), "DEFAULT");
  EXPECT_FALSE(s.enabled(ctl::Adapter));

  d[15] = 8;  // MOTOR-01
  d[37] = 2;
  ASSERT_TRUE(decodeSettingsBlock(s, block(d)));
  EXPECT_EQ(s.selectedText(ctl::Adapter), "HEX");
  EXPECT_TRUE(s.enabled(ctl::Adapter));
}

TEST_P(BlockDecode, DecodedRangeLeavesTheRangeResetAlone) {
  auto d = sampleData();
  ASSERT_TRUE(decodeSettingsBlock(s, block(d)));
  EXPECT_FALSE(s.flags.RangeResetPending);
  d[13] = 0;
  ASSERT_TRUE(decodeSettingsBlock(s, block(d)));
  EXPECT_FALSE(s.flags.RangeResetPending);
  EXPECT_EQ(s.text(ctl::RangeMin), "");
  EXPECT_FALSE(s.enabled(ctl::RangeMax));
}

TEST(BlockDecodeAdc, LongBlockShowsItsHalfValuesShortOnesTheDefaults) {
  DialogState s = windowAfterStart();
  ASSERT_TRUE(decodeSettingsBlock(s, extendedBlock(49)));
  EXPECT_EQ(s.text(ctl::AdcGain), "17.5");
  EXPECT_EQ(s.text(ctl::AdcOffset), "+21.6");
  EXPECT_TRUE(s.enabled(ctl::AdcGain));

  ASSERT_TRUE(decodeSettingsBlock(s, extendedBlock(44)));
  EXPECT_EQ(s.text(ctl::AdcGain), "18.7");
  EXPECT_EQ(s.text(ctl::AdcOffset), "-20.1");

  EscSettings negative = extendedBlock(49);
  negative.block[46] = 0xCD;
  negative.block[47] = 0x06;
  ASSERT_TRUE(decodeSettingsBlock(s, negative));
  EXPECT_EQ(s.text(ctl::AdcOffset), "-20.1");
}

TEST(BlockDecodeBounds, ATruncatedBlockReadsZerosNotStaleBytes) {
  // Bytes past the kept length must not be read, even if the array still holds
  // them from an older, longer block.
  EscSettings k = extendedBlock(49);
  k.length = 10;
  DialogState s = windowAfterStart();
  // d[3] .. d[7] present, d[8] onwards read as 0: cutoff byte 1, level 34 ... d[13]=0 (DYNAMIC).
  decodeSettingsBlock(s, k);
  EXPECT_EQ(s.selectedText(ctl::CalibrationMode), "DYNAMIC");
  EXPECT_TRUE(s.checked(ctl::DirectionReverse));  // d[8] read as 0
  EXPECT_EQ(k.d(8), 0);
  EXPECT_EQ(k.d(-1), 0);
  EXPECT_EQ(k.d(300), 0);
}
