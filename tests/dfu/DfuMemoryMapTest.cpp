#include <gtest/gtest.h>

#include "firmware/DfuMemoryMap.h"
#include "firmware/DfuOperation.h"

namespace orx {
namespace {

TEST(DfuMemoryMap, ReadsTheFlashSectorsOfAnF4BootLoader) {
  const auto map = ParseDfuMemoryMap("@Internal Flash  /0x08000000/04*016Kg,01*064Kg,07*128Kg");
  ASSERT_TRUE(map);
  EXPECT_EQ(map->name, "Internal Flash");
  ASSERT_EQ(map->sectors.size(), 12u);
  EXPECT_EQ(map->sectors[0].address, 0x08000000u);
  EXPECT_EQ(map->sectors[3].address, 0x0800C000u);
  EXPECT_EQ(map->sectors[4].address, 0x08010000u);
  EXPECT_EQ(map->sectors[4].size, 65536u);
  EXPECT_EQ(map->sectors[5].address, 0x08020000u);
  EXPECT_EQ(map->sectors[11].end(), 0x08100000u);
  EXPECT_TRUE(map->sectors[0].readable());
  EXPECT_TRUE(map->sectors[0].erasable());
  EXPECT_TRUE(map->sectors[0].writable());
}

TEST(DfuMemoryMap, ReadsRegionsUnitsAndFlags) {
  const auto options = ParseDfuMemoryMap("@Option Bytes  /0x1FFFC000/01*016 e", 1);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->alternate, 1);
  ASSERT_EQ(options->sectors.size(), 1u);
  EXPECT_EQ(options->sectors[0].size, 16u);
  EXPECT_TRUE(options->sectors[0].readable());
  EXPECT_FALSE(options->sectors[0].erasable());
  EXPECT_TRUE(options->sectors[0].writable());

  const auto two = ParseDfuMemoryMap("@Flash/0x08000000/02*001Ka/0x20000000/01*001Mg");
  ASSERT_TRUE(two);
  ASSERT_EQ(two->sectors.size(), 3u);
  EXPECT_FALSE(two->sectors[1].erasable());
  EXPECT_EQ(two->sectors[2].address, 0x20000000u);
  EXPECT_EQ(two->sectors[2].size, 1024u * 1024);
  EXPECT_EQ(two->sectorAt(0x080007FF), &two->sectors[1]);
  EXPECT_EQ(two->sectorAt(0x08000800), nullptr);

  EXPECT_TRUE(two->covers(0x20000000, 1024 * 1024, kSectorWritable));
  EXPECT_FALSE(two->covers(0x20000000, 1024 * 1024 + 1, kSectorWritable));
  EXPECT_FALSE(two->covers(0x08000000, 16, kSectorWritable));
}

TEST(DfuMemoryMap, RefusesTextThatIsNoMap) {
  for (const char* bad : {"", "Internal Flash/0x08000000/04*016Kg", "@Internal Flash", "@F/0x08000000/",
                          "@F/0x08000000/04*016Kz", "@F/08000000/04*016Kg", "@F/0x08000000/04016Kg",
                          "@F/0xFFFFF000/02*004Kg", "@F/0x108000000/01*001Kg", "@F/0x08000000/01*000Kg",
                          "@F/0x08000000/04*016Kg,"}) {
    EXPECT_FALSE(ParseDfuMemoryMap(bad)) << bad;
  }
}

TEST(DfuImageFilter, PagesAndChecksFollowTheMap) {
  const auto map = ParseDfuMemoryMap("@Internal Flash  /0x08000000/01*001Ka,03*001Kg");
  ASSERT_TRUE(map);
  DfuImage image;
  image.elements.push_back({0x08000100, std::vector<uint8_t>(10)});  // in the read-only page
  EXPECT_EQ(FilterImageForOperation(image, *map, DfuOpCode::Upgrade), dfurc::kBadParameter);

  image.elements = {{0x08000800, std::vector<uint8_t>(0x500)}, {0x08000400, std::vector<uint8_t>(4)}};
  EXPECT_EQ(FilterImageForOperation(image, *map, DfuOpCode::Upgrade), dfurc::kSuccess);
  EXPECT_EQ(FilterImageForOperation(image, *map, DfuOpCode::Erase), dfurc::kSuccess);
  EXPECT_EQ(PagesToErase(image, *map), (std::vector<uint32_t>{0x08000400, 0x08000800, 0x08000C00}));

  image.elements.push_back({0x08000FFF, std::vector<uint8_t>(2)});  // runs off the end
  EXPECT_EQ(FilterImageForOperation(image, *map, DfuOpCode::Upgrade), dfurc::kBadParameter);
}

TEST(DfuImageFilter, ChecksStayLinearInTheSectorsAShortDescriptorLists) {
  // 126 characters describe 589,815 one-byte sectors; a check that looks each
  // sector up from the start of the list would not end within the test's time.
  std::string text = "@F/0x08000000/65535*001 g";
  for (int i = 0; i < 8; ++i) text += ",65535*001 g";
  ASSERT_LE(text.size(), 126u);
  const auto map = ParseDfuMemoryMap(text);
  ASSERT_TRUE(map);
  ASSERT_EQ(map->sectors.size(), 9u * 65535);
  DfuImage image;
  image.elements.push_back({0x08000000, std::vector<uint8_t>(map->sectors.size())});
  EXPECT_EQ(FilterImageForOperation(image, *map, DfuOpCode::Erase), dfurc::kSuccess);
  EXPECT_EQ(PagesToErase(image, *map).size(), map->sectors.size());
}

}  // namespace
}  // namespace orx
