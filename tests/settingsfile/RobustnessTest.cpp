#include <gtest/gtest.h>

#include <random>

#include "CfgTestSupport.h"
#include "settingsfile/SettingsApply.h"
#include "settingsfile/SettingsFileParser.h"
#include "settingsfile/SettingsFileWriter.h"

using namespace orx;
using namespace orx::test;

namespace {

// What must hold for any input: keys 1.. in order, at most 24, values within
// their line and length, and every list selection inside its entries.
void checkLoad(const std::string& text, const cfg::LoadContext& ctx) {
  const auto values = cfg::ParseSettingsFile(text);
  ASSERT_LE(values.size(), 24u);
  for (size_t i = 0; i < values.size(); ++i) {
    ASSERT_EQ(values[i].key, static_cast<int>(i) + 1);
    ASSERT_LE(values[i].value.size(), 97u);
    ASSERT_EQ(values[i].value.find('\n'), std::string::npos);
  }
  DialogState s = stm32Controls();
  cfg::ApplySettingsFile(s, values, ctx);
  for (int id : lists::allListIds()) {
    ASSERT_GE(s.selection(id), -1) << id;
    ASSERT_LT(s.selection(id), static_cast<int>(s.items(id).size())) << id;
  }
}

}  // namespace

TEST(SettingsFileRobustness, EveryTruncationOfASavedFileLoadsAPrefixOfIt) {
  const std::string full = cfg::FormatSettingsFile(stm32Controls(), std::tm{});
  const auto all = cfg::ParseSettingsFile(full);
  ASSERT_EQ(all.size(), 24u);
  for (size_t n = 0; n <= full.size(); ++n) {
    const std::string cut = full.substr(0, n);
    checkLoad(cut, {true, true, true});
    const auto part = cfg::ParseSettingsFile(cut);
    ASSERT_LE(part.size(), all.size());
    for (size_t i = 0; i < part.size(); ++i)
      ASSERT_EQ(all[i].value.rfind(part[i].value, 0), 0u) << "cut at " << n << ", key " << part[i].key;
  }
}

TEST(SettingsFileRobustness, RandomBytesNeverCrashOrOverrun) {
  std::mt19937 rng(20240307);
  const std::string alphabet = ":::\r\n\n -VERSION0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (int round = 0; round < 3000; ++round) {
    const size_t len = rng() % 600;
    std::string text(len, '\0');
    const bool binary = round % 3 == 0;
    for (char& c : text)
      c = binary ? static_cast<char>(rng() & 0xFF) : alphabet[rng() % alphabet.size()];
    checkLoad(text, {true, round % 2 == 0, round % 4 < 2});
  }
}

TEST(SettingsFileRobustness, DegenerateFiles) {
  for (const std::string& text :
       {std::string(), std::string(":"), std::string(":::"), std::string("::::"), std::string(":::VERSION:"),
        std::string(1 << 20, ':'), std::string(1 << 20, 'A'), std::string("\0\0:\0:\0:\0:\0", 11),
        std::string(":::\r\n:  ") + std::string(100000, 'x')})
    checkLoad(text, {true, true, true});
  // A file of colons only: keys 1..24 all get empty values.
  EXPECT_EQ(cfg::ParseSettingsFile(std::string(100, ':')).size(), 24u);
}
