#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "FakeBootLoader.h"
#include "firmware/FirmwareImage.h"
#include "firmware/FirmwareVersionCheck.h"
#include "tests/support/TempDir.h"

using namespace orx;
namespace fs = std::filesystem;

namespace {

// One folder per test process, removed when it ends.
test::TempDir tempDir;

fs::path TempFile(const std::string& name, const std::string& content) {
  const fs::path path = tempDir.file(name);
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

}  // namespace

TEST(OrxDecoding, DigitRuleIncludingCharactersOutsideUpperCaseHex) {
  FirmwareImage image;
  // "a" is 97 and "G" is 71: (16*97+1) mod 256 = 17, 16*0+71 = 71, (16*71+71) mod 256 = 183.
  ASSERT_EQ(image.decode("00FF7A" "a1" "0G" "GG"), ImageLoadResult::Ok);
  EXPECT_EQ(image.bytes(), (std::vector<uint8_t>{0x00, 0xFF, 0x7A, 17, 71, 183}));
  // Line breaks and blanks are skipped, even inside a pair.
  ASSERT_EQ(image.decode("\r\n"), ImageLoadResult::Ok);
  EXPECT_TRUE(image.empty());
  ASSERT_EQ(image.decode(" 0\r\nF\t7 \v\fA\n"), ImageLoadResult::Ok);
  EXPECT_EQ(image.bytes(), (std::vector<uint8_t>{0x0F, 0x7A}));
}

TEST(OrxDecoding, TrailingSingleCharacterIsIgnored) {
  FirmwareImage image;
  ASSERT_EQ(image.decode("0102F"), ImageLoadResult::Ok);
  EXPECT_EQ(image.bytes(), (std::vector<uint8_t>{1, 2}));
  ASSERT_EQ(image.decode("F"), ImageLoadResult::Ok);
  EXPECT_TRUE(image.empty());
}

TEST(OrxDecoding, ExactlyFullBufferIsKeptOneByteMoreIsRefused) {
  FirmwareImage image;
  const std::string full(2 * FirmwareImage::kCapacity, 'A');
  ASSERT_EQ(image.decode(full), ImageLoadResult::Ok);
  EXPECT_EQ(image.size(), FirmwareImage::kCapacity);
  // An odd character after a full buffer is still only a trailing half pair.
  ASSERT_EQ(image.decode(full + "7"), ImageLoadResult::Ok);
  EXPECT_EQ(image.size(), FirmwareImage::kCapacity);
  EXPECT_EQ(image.decode(full + "77"), ImageLoadResult::TooLarge);
  EXPECT_TRUE(image.empty());
}

TEST(OrxDecoding, FileLoadMatchesTextDecodeAcrossReadChunks) {
  // Odd-length content longer than one read chunk, so pairs straddle chunk ends.
  std::string text;
  for (int i = 0; i < 20001; ++i) text.push_back("0123456789ABCDEFxy"[i % 18]);
  FirmwareImage fromText;
  ASSERT_EQ(fromText.decode(text), ImageLoadResult::Ok);
  FirmwareImage fromFile;
  ASSERT_EQ(fromFile.load(TempFile("D_chunks.orx", text).string()), ImageLoadResult::Ok);
  EXPECT_EQ(fromFile.bytes(), fromText.bytes());
  EXPECT_EQ(fromFile.size(), 10000u);
}

TEST(OrxDecoding, FileFailures) {
  FirmwareImage image;
  EXPECT_EQ(image.load("/nonexistent/dir/D.orx"), ImageLoadResult::OpenFailed);
  // A folder or a fifo is no image (a fifo without writer would block the worker).
  EXPECT_EQ(image.load(fs::temp_directory_path().string()), ImageLoadResult::OpenFailed);
  const fs::path fifo = TempFile("D_fifo.orx", "").parent_path() / "D_pipe.orx";
  fs::remove(fifo);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(image.load(fifo.string()), ImageLoadResult::OpenFailed);
  const std::string tooBig(2 * FirmwareImage::kCapacity + 2, '1');
  EXPECT_EQ(image.load(TempFile("D_big.orx", tooBig).string()), ImageLoadResult::TooLarge);
  EXPECT_TRUE(image.empty());
  ASSERT_EQ(image.load(TempFile("D_empty.orx", "").string()), ImageLoadResult::Ok);
  EXPECT_TRUE(image.empty());
}

TEST(FirmwareFileCheck, HardwareCodeTable) {
  const std::pair<int, const char*> accepted[] = {{11, "B"}, {12, "C"}, {13, "D"}, {15, "FA"}, {68, "D"}, {69, "DFA"}};
  for (const auto& [code, families] : accepted) {
    for (char family : std::string("ABCDEF")) {
      const std::string name = std::string(1, family) + "_1_00.orx";
      EXPECT_EQ(FirmwareFileFits(code, name), std::string(families).find(family) != std::string::npos)
          << code << " " << name;
    }
  }
  EXPECT_FALSE(FirmwareFileFits(69, "d123.orx"));
  for (int code : {0, 14, 70, -1, 255})
    for (const char* name : {"A.orx", "B.orx", "C.orx", "D.orx", "F.orx"})
      EXPECT_FALSE(FirmwareFileFits(code, name)) << code << " " << name;
}

TEST(FirmwareFileCheck, JudgesTheNameNotTheFolder) {
  EXPECT_TRUE(FirmwareFileFits(69, "/home/B_user/firmware/D100.orx"));
  EXPECT_FALSE(FirmwareFileFits(69, "/home/D_user/B100.orx"));
  EXPECT_FALSE(FirmwareFileFits(69, "/home/D_user/"));
  EXPECT_FALSE(FirmwareFileFits(69, ""));
}

TEST(FirmwareFileCheck, DialogFilterFollowsTheFirmwareFamily) {
  const std::string orx = "ORX (*.orx)|*.orx|Files (*.*)|*.*||";
  const std::string all = "Files (*.*)|*.*||";
  EXPECT_EQ(FirmwareFileFilter("A1.05"), orx);
  EXPECT_EQ(FirmwareFileFilter("B"), orx);
  EXPECT_EQ(FirmwareFileFilter("C2.00"), orx);
  EXPECT_EQ(FirmwareFileFilter("D1.00"), all);
  EXPECT_EQ(FirmwareFileFilter("a1.05"), all);
  EXPECT_EQ(FirmwareFileFilter(""), all);
}
