// The memory map a DfuSe device gives in the string descriptor of each
// alternate setting, e.g. "@Internal Flash  /0x08000000/04*016Kg,01*064Kg,07*128Kg":
// a name, then per region a start address and runs of COUNT*SIZE followed by
// a unit (' ', 'K', 'M') and a letter whose bits say readable (1), erasable
// (2) and writable (4), 'a' being 1 and 'g' being 7.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

struct DfuSector {
  uint32_t address = 0;
  uint32_t size = 0;
  uint8_t flags = 0;

  bool readable() const { return flags & 1; }
  bool erasable() const { return flags & 2; }
  bool writable() const { return flags & 4; }
  uint64_t end() const { return uint64_t(address) + size; }
};

struct DfuMemoryMap {
  uint8_t alternate = 0;
  std::string name;  // trimmed of the leading '@'
  std::vector<DfuSector> sectors;  // in address order as the device lists them

  // The sector holding `address`, or null. When `after` (a sector of this
  // map) is given, the entry following it is tried first: walking up through
  // memory, the next sector is normally the next entry, which keeps a walk
  // over n sectors linear in n instead of quadratic.
  const DfuSector* sectorAt(uint32_t address, const DfuSector* after = nullptr) const;
  // True when [address, address + size) lies wholly in sectors with all of `flags`.
  bool covers(uint32_t address, uint64_t size, uint8_t flags) const;
};

inline constexpr uint8_t kSectorReadable = 1;
inline constexpr uint8_t kSectorErasable = 2;
inline constexpr uint8_t kSectorWritable = 4;

// Nothing when the text is not a memory map (no '@', no address, a bad run).
std::optional<DfuMemoryMap> ParseDfuMemoryMap(std::string_view text, uint8_t alternate = 0);

}  // namespace orx
