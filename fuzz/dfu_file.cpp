// .dfu files and the DFU memory map string: parse as the DFU update does. A
// file that parses must build back into a file that parses to the same bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "FuzzCheck.h"
#include "firmware/DfuFile.h"
#include "firmware/DfuMemoryMap.h"

using namespace orx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  // The memory map is text the device reports; the same input serves both.
  (void)ParseDfuMemoryMap(std::string_view(reinterpret_cast<const char*>(data), size), size > 0 ? data[0] % 4 : 0);

  const DfuFileResult parsed = ParseDfuFile(bytes);
  if (!parsed.ok()) return 0;
  for (uint8_t alternate = 0; alternate < 4; ++alternate) (void)parsed.file.imageFor(alternate);
  const std::vector<uint8_t> built = BuildDfuFile(parsed.file);
  const DfuFileResult again = ParseDfuFile(built);
  fuzz::check(again.ok(), "a built .dfu file parses");
  fuzz::check(BuildDfuFile(again.file) == built, "parse and build give the same .dfu file");
  return 0;
}
