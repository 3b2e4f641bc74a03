// CSV files on disk: no overwrite, the size limit both ways, unreadable
// files, and the numbers' text form independent of the locale.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "datalog/CsvLogFile.h"
#include "datalog/CsvLogWriter.h"
#include "datalog/NumberText.h"
#include "tests/support/TempDir.h"

namespace orx::datalog {
namespace {

using orx::test::readFile;
using orx::test::TempDir;

const std::string kHeaderLine = std::string(kCsvHeader) + "\n";

TEST(CsvFileSave, WritesANewFileAndRefusesAnExistingOne) {
  TempDir dir;
  const std::string path = dir.file("flight.csv");
  const std::string text = kHeaderLine + "1,8,1.00,1.00,1.00,1.00,1500,1.00,0,0.00,0\n";
  EXPECT_EQ(saveCsvFile(path, text), CsvSave::Saved);
  EXPECT_EQ(readFile(path), text);
  EXPECT_EQ(saveCsvFile(path, "other"), CsvSave::Exists);
  EXPECT_EQ(readFile(path), text);
  EXPECT_EQ(saveMessage(CsvSave::Exists).text, "Failed to create new file. Does the file already exist?");
  EXPECT_EQ(saveMessage(CsvSave::Exists).caption, "Error");

  // A link to a file, dangling or not, is not written through.
  ASSERT_EQ(::symlink("nowhere.csv", dir.file("link.csv").c_str()), 0);
  EXPECT_EQ(saveCsvFile(dir.file("link.csv"), text), CsvSave::Exists);
  EXPECT_EQ(::access(dir.file("nowhere.csv").c_str(), F_OK), -1);
}

TEST(CsvFileSave, FailuresLeaveNoFileBehind) {
  TempDir dir;
  EXPECT_EQ(saveCsvFile(dir.file("missing/dir.csv"), "x\n"), CsvSave::Failed);
  const std::string big(kCsvMaxSize + 1, 'x');
  EXPECT_EQ(saveCsvFile(dir.file("big.csv"), big), CsvSave::TooLarge);
  EXPECT_EQ(::access(dir.file("big.csv").c_str(), F_OK), -1);
  EXPECT_EQ(saveCsvFile(dir.file("limit.csv"), std::string(kCsvMaxSize, 'x')), CsvSave::Saved);
}

TEST(CsvFileLoad, SizeLimitIsInclusive) {
  TempDir dir;
  // A valid file padded with a comment line to exactly the limit.
  const std::string row = "1,8,1.00,1.00,1.00,1.00,1500,1.00,0,0.00,0\n";
  std::string text = kHeaderLine + row;
  text += "#" + std::string(kCsvMaxSize - text.size() - 2, 'p') + "\n";
  ASSERT_EQ(text.size(), kCsvMaxSize);
  ASSERT_EQ(saveCsvFile(dir.file("exact.csv"), text), CsvSave::Saved);
  const CsvFileResult exact = loadCsvFile(dir.file("exact.csv"));
  EXPECT_EQ(exact.status, CsvFileLoad::Loaded);
  EXPECT_EQ(exact.load.log.samples.size(), 1u);

  std::ofstream(dir.file("over.csv"), std::ios::binary) << text << "\n";
  EXPECT_EQ(loadCsvFile(dir.file("over.csv")).status, CsvFileLoad::TooLarge);
  EXPECT_EQ(loadCsvFile(dir.file("absent.csv")).status, CsvFileLoad::TooLarge);
  EXPECT_EQ(loadCsvFile(dir.path()).status, CsvFileLoad::TooLarge);  // a folder
}

TEST(CsvFileLoad, MalformedAndLineFeedLessFilesReportTheirStatus) {
  TempDir dir;
  std::ofstream(dir.file("broken.csv"), std::ios::binary) << kHeaderLine << "1,8,2\n";
  EXPECT_EQ(loadCsvFile(dir.file("broken.csv")).status, CsvFileLoad::Malformed);
  std::ofstream(dir.file("flat.csv"), std::ios::binary) << "no line feed at all";
  const CsvFileResult flat = loadCsvFile(dir.file("flat.csv"));
  EXPECT_EQ(flat.status, CsvFileLoad::NoLineFeed);
  EXPECT_TRUE(flat.load.log.samples.empty());
}

TEST(NumberText, FixedMatchesPrintfInTheCLocale) {
  const double values[] = {0, -0.0, 0.125, 0.375, 2.675, 1.005, 25.2, 81.91, 12345.5, 1e21, -3.14159, 0.004999};
  for (double v : values) {
    for (int decimals : {0, 2}) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
      EXPECT_EQ(fixed(v, decimals), buf) << v;
    }
  }
}

TEST(NumberText, LeadingNumbersAsAtoiAndAtofReadThem) {
  EXPECT_EQ(leadingInt("  42abc"), 42);
  EXPECT_EQ(leadingInt("-7,"), -7);
  EXPECT_EQ(leadingInt("+8"), 8);
  EXPECT_EQ(leadingInt("x1"), 0);
  EXPECT_EQ(leadingInt(""), 0);
  EXPECT_EQ(leadingInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(leadingInt("-99999999999999999999"), -2147483647 - 1);
  EXPECT_DOUBLE_EQ(leadingDouble(" 3.5V"), 3.5);
  EXPECT_DOUBLE_EQ(leadingDouble(".5"), 0.5);
  EXPECT_DOUBLE_EQ(leadingDouble("-1e2x"), -100);
  EXPECT_EQ(leadingDouble("inf"), 0);
  EXPECT_EQ(leadingDouble("nan"), 0);
  EXPECT_EQ(leadingDouble("1e400"), 0);
  EXPECT_EQ(leadingDouble("-"), 0);
}

// Short decimals are read without from_chars; they must come out the same,
// bit for bit, at every length, scale and leading or trailing zero.
TEST(CsvNumbers, ShortDecimalsReadExactlyAsFromChars) {
  std::mt19937_64 random(5);
  for (int i = 0; i < 20000; ++i) {
    const int decimals = static_cast<int>(random() % 17);
    std::string text = fixed(static_cast<double>(random() % 100000000000ull) / std::pow(10.0, random() % 12), decimals);
    if (i % 3 == 0) text = "00" + text + "0";
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    ASSERT_EQ(leadingDouble(text + ","), expected) << text;
  }
}

}  // namespace
}  // namespace orx::datalog
