#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>

#include "firmware/DfuFile.h"

namespace orx {
namespace {

DfuFile twoTargets() {
  DfuFile f;
  f.vendorId = 0x0483;
  f.productId = 0xDF11;
  f.deviceVersion = 0x2200;
  DfuImage flash;
  flash.alternate = 0;
  flash.named = true;
  flash.name = "ST...";
  flash.elements.push_back({0x08000000, {1, 2, 3, 4, 5}});
  flash.elements.push_back({0x08004000, std::vector<uint8_t>(300, 0xA5)});
  DfuImage options;
  options.alternate = 1;
  options.elements.push_back({0x1FFFC000, {0xAA, 0x55}});
  f.images = {options, flash};
  return f;
}

void refreshCrc(std::vector<uint8_t>& bytes) {
  const uint32_t crc = DfuSuffixCrc(std::span<const uint8_t>(bytes).first(bytes.size() - 4));
  for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = uint8_t(crc >> (8 * i));
}

TEST(DfuCrc, MatchesTheStandardCheckValue) {
  const std::string check = "123456789";
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(check.data()), check.size());
  EXPECT_EQ(Crc32(bytes), 0xCBF43926u);
  EXPECT_EQ(DfuSuffixCrc(bytes), ~0xCBF43926u);
}

TEST(DfuFileReader, ReadsTargetsElementsAndSuffix) {
  const std::vector<uint8_t> bytes = BuildDfuFile(twoTargets());
  // Prefix, two target prefixes, three element headers, data, suffix.
  ASSERT_EQ(bytes.size(), 11u + 2 * 274 + 3 * 8 + 5 + 300 + 2 + 16);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "DfuSe");
  EXPECT_EQ(std::string(bytes.end() - 8, bytes.end() - 5), "UFD");

  const DfuFileResult r = ParseDfuFile(bytes);
  ASSERT_TRUE(r.ok()) << DfuFileErrorText(r.error);
  EXPECT_EQ(r.file.vendorId, 0x0483);
  EXPECT_EQ(r.file.productId, 0xDF11);
  EXPECT_EQ(r.file.deviceVersion, 0x2200);
  EXPECT_EQ(r.file.dfuVersion, 0x011A);
  ASSERT_EQ(r.file.images.size(), 2u);
  const DfuImage* flash = r.file.imageFor(0);
  ASSERT_NE(flash, nullptr);
  EXPECT_TRUE(flash->named);
  EXPECT_EQ(flash->name, "ST...");
  ASSERT_EQ(flash->elements.size(), 2u);
  EXPECT_EQ(flash->elements[1].address, 0x08004000u);
  EXPECT_EQ(flash->elements[1].data, std::vector<uint8_t>(300, 0xA5));
  EXPECT_EQ(flash->size(), 305u);
  EXPECT_EQ(r.file.imageFor(1)->elements[0].data, (std::vector<uint8_t>{0xAA, 0x55}));
  EXPECT_EQ(r.file.imageFor(2), nullptr);
}

TEST(DfuFileReader, RefusesDamagedFiles) {
  const std::vector<uint8_t> good = BuildDfuFile(twoTargets());

  auto flipped = good;
  flipped[600] ^= 0x01;
  EXPECT_EQ(ParseDfuFile(flipped).error, DfuFileError::BadCrc);

  auto noPrefix = good;
  noPrefix[0] = 'X';
  refreshCrc(noPrefix);
  EXPECT_EQ(ParseDfuFile(noPrefix).error, DfuFileError::NoPrefix);

  auto noSuffix = good;
  noSuffix[noSuffix.size() - 7] = 'X';
  EXPECT_EQ(ParseDfuFile(noSuffix).error, DfuFileError::NoSuffix);

  auto moreTargets = good;
  moreTargets[10] = 3;  // a third target that is not there
  refreshCrc(moreTargets);
  EXPECT_EQ(ParseDfuFile(moreTargets).error, DfuFileError::BadTarget);

  // The first element of the first target claims more bytes than its target holds.
  auto longElement = good;
  const size_t sizeField = 11 + 274 + 4;
  longElement[sizeField + 1] = 0x10;
  refreshCrc(longElement);
  EXPECT_EQ(ParseDfuFile(longElement).error, DfuFileError::BadElement);

  auto wrongImageSize = good;
  wrongImageSize[6] ^= 0x04;
  refreshCrc(wrongImageSize);
  EXPECT_EQ(ParseDfuFile(wrongImageSize).error, DfuFileError::BadImageSize);
}

TEST(DfuFileReader, NoTruncationIsAcceptedOrReadPastItsEnd) {
  const std::vector<uint8_t> good = BuildDfuFile(twoTargets());
  for (size_t n = 0; n < good.size(); ++n) {
    // A cut file with a fresh suffix of its own still must not pass.
    std::vector<uint8_t> cut(good.begin(), good.begin() + n);
    EXPECT_FALSE(ParseDfuFile(cut).ok()) << n;
    if (n >= 11 && n != good.size() - 16) {  // that one is the whole file again
      cut.insert(cut.end(), good.end() - 16, good.end());
      refreshCrc(cut);
      EXPECT_FALSE(ParseDfuFile(cut).ok()) << n;
    }
  }
}

TEST(DfuFileReader, ReadsFromDiskAndReportsMissingFiles) {
  const std::string path = testing::TempDir() + "/D_reader.dfu";
  const std::vector<uint8_t> bytes = BuildDfuFile(twoTargets());
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  EXPECT_TRUE(ReadDfuFile(path).ok());
  std::remove(path.c_str());
  EXPECT_EQ(ReadDfuFile(path).error, DfuFileError::CannotOpen);
}

}  // namespace
}  // namespace orx
