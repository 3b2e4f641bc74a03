#include <gtest/gtest.h>

#include "protocol/AdcText.h"
#include "protocol/EditInteger.h"
#include "protocol/HalfFloat.h"

using namespace orx;

TEST(AdcText, ShowsOneDecimalAndThePlusOnlyForPositiveOffsets) {
  EXPECT_EQ(adcGainText(0x4C60), "17.5");
  EXPECT_EQ(adcOffsetText(0x4D66), "+21.6");  // 21.59375
  EXPECT_EQ(adcOffsetText(0xCD06), "-20.1");
  EXPECT_EQ(adcOffsetText(0x0000), "+0.0");
  EXPECT_EQ(adcOffsetText(0x8000), "-0.0");
}

TEST(AdcText, AcceptsOneNumberWithTrailingBlanksOnly) {
  EXPECT_EQ(parseAdcNumber("17.5"), 17.5);
  EXPECT_EQ(parseAdcNumber("17.5 "), 17.5);
  EXPECT_EQ(parseAdcNumber(" 17.5\t"), 17.5);
  EXPECT_EQ(parseAdcNumber("+21.6"), 21.6);
  EXPECT_EQ(parseAdcNumber("-20.1"), -20.1);
  EXPECT_EQ(parseAdcNumber(".5"), 0.5);
  EXPECT_EQ(parseAdcNumber("18."), 18.0);
  for (const char* bad : {"17.5 x", "17.5x", "", " ", "+", ".", "-.", "1e3", "nan", "inf", "0x10",
                          "1,5", "17.5.1", "--1", "1 2"})
    EXPECT_FALSE(parseAdcNumber(bad).has_value()) << '"' << bad << '"';
}

TEST(AdcText, ReportsWhichTextFailedAndRefusesGainsOfZeroOrLess) {
  auto ok = parseAdcTexts("17.5 ", "+21.6");
  ASSERT_TRUE(ok.values.has_value());
  EXPECT_EQ(ok.values->gain, 0x4C60);
  EXPECT_EQ(ok.values->offset, toHalf(21.6));

  EXPECT_EQ(parseAdcTexts("17.5 x", "1").error, AdcError::GainFormat);
  EXPECT_EQ(parseAdcTexts("17.5", "x").error, AdcError::OffsetFormat);
  EXPECT_EQ(parseAdcTexts("0", "1").error, AdcError::GainNotPositive);
  EXPECT_EQ(parseAdcTexts("-0.0", "1").error, AdcError::GainNotPositive);
  EXPECT_FALSE(parseAdcTexts("-3", "1").values.has_value());
  // A bad format is named before the sign of the gain.
  EXPECT_EQ(parseAdcTexts("-3", "abc").error, AdcError::OffsetFormat);
}

TEST(AdcText, ErrorBoxesUseTheDefaultCaptionWithoutIcon) {
  const Message gain = adcErrorMessage(AdcError::GainFormat);
  EXPECT_EQ(gain.caption, "Error");
  EXPECT_EQ(gain.icon, MsgIcon::None);
  EXPECT_EQ(gain.text, "Current ADC gain error, expecting format (gain: 17.5 offset: +21.6)");
  EXPECT_EQ(adcErrorMessage(AdcError::OffsetFormat).text,
            "Current ADC offset error, expecting format (gain: 17.5 offset: +21.6)");
  EXPECT_EQ(adcErrorMessage(AdcError::GainNotPositive).text,
            "Current ADC gain error, gain cannot be <= 0, expecting format (gain: 17.5 offset: +21.6)");
}

TEST(EditInteger, ReadsLeadingDigitsAndSaturates) {
  EXPECT_EQ(editInteger("1100"), 1100);
  EXPECT_EQ(editInteger(" -5"), -5);
  EXPECT_EQ(editInteger("12ab"), 12);
  EXPECT_EQ(editInteger(""), 0);
  EXPECT_EQ(editInteger("abc"), 0);
  EXPECT_EQ(editInteger("99999999999999999999"), 999999999);
}
