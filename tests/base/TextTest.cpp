#include <gtest/gtest.h>

#include "base/Cp1252.h"
#include "base/Format.h"

using namespace orx;

TEST(Cp1252, DegreeSignAndEuroRoundTrip) {
  const std::string bytes = "25\xB0" "C \x80";
  const std::string utf8 = cp1252ToUtf8(bytes);
  EXPECT_EQ(utf8, "25\xC2\xB0" "C \xE2\x82\xAC");
  EXPECT_EQ(utf8ToCp1252(utf8), bytes);
}

TEST(Cp1252, UnmappableAndBrokenUtf8BecomeQuestionMarks) {
  EXPECT_EQ(utf8ToCp1252("a\xE4\xB8\xAD" "b"), "a?b");  // CJK has no byte
  EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");               // truncated sequence
  EXPECT_EQ(utf8ToCp1252("\xFF" "x"), "?x");
}

TEST(Format, PrintfStyleTexts) {
  EXPECT_EQ(strprintf("%c.%02X.%02X.%02X", 'D', 2, 0x16, 0xA), "D.02.16.0A");
  EXPECT_EQ(strprintf("READING PARAMETERS...%d%%", 42), "READING PARAMETERS...42%");
  EXPECT_EQ(strprintf("%s", std::string(5000, 'x').c_str()).size(), 5000u);
}
