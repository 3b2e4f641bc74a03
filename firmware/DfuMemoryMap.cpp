#include "firmware/DfuMemoryMap.h"

namespace orx {

namespace {

struct Cursor {
  std::string_view s;
  size_t at = 0;

  bool done() const { return at >= s.size(); }
  char peek() const { return done() ? '\0' : s[at]; }
  bool take(char c) {
    if (peek() != c) return false;
    ++at;
    return true;
  }
  // Digits in `base`; nothing when there is none or the value overflows.
  std::optional<uint64_t> number(int base, uint64_t limit) {
    uint64_t v = 0;
    const size_t start = at;
    while (!done()) {
      const char c = s[at];
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else break;
      v = v * base + d;
      if (v > limit) return std::nullopt;
      ++at;
    }
    if (at == start) return std::nullopt;
    return v;
  }
};

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
  return s;
}

}  // namespace

const DfuSector* DfuMemoryMap::sectorAt(uint32_t address, const DfuSector* after) const {
  auto holds = [address](const DfuSector& sector) { return address >= sector.address && address < sector.end(); };
  if (after != nullptr && after + 1 < sectors.data() + sectors.size() && holds(after[1])) return after + 1;
  for (const DfuSector& sector : sectors) {
    if (holds(sector)) return &sector;
  }
  return nullptr;
}

bool DfuMemoryMap::covers(uint32_t address, uint64_t size, uint8_t flags) const {
  uint64_t at = address;
  const uint64_t end = at + size;
  const DfuSector* sector = nullptr;
  while (at < end) {
    if (at > 0xFFFFFFFFu) return false;
    sector = sectorAt(uint32_t(at), sector);
    if (sector == nullptr || (sector->flags & flags) != flags) return false;
    at = sector->end();
  }
  return true;
}

std::optional<DfuMemoryMap> ParseDfuMemoryMap(std::string_view text, uint8_t alternate) {
  text = trimRight(text);
  if (text.empty() || text.front() != '@') return std::nullopt;
  const size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  DfuMemoryMap map;
  map.alternate = alternate;
  map.name = std::string(trimRight(text.substr(1, slash - 1)));

  Cursor c{text, slash};
  // One or more regions: "/0xADDR/runs".
  while (c.take('/')) {
    if (!c.take('0') || !(c.take('x') || c.take('X'))) return std::nullopt;
    const auto start = c.number(16, 0xFFFFFFFFu);
    if (!start || !c.take('/')) return std::nullopt;
    uint64_t address = *start;
    do {
      const auto count = c.number(10, 0xFFFF);
      if (!count || !c.take('*')) return std::nullopt;
      const auto size = c.number(10, 0xFFFF);
      if (!size) return std::nullopt;
      uint64_t unit = 1;
      if (c.take('K')) unit = 1024;
      else if (c.take('M')) unit = 1024 * 1024;
      else if (c.take('B') || c.take(' ')) unit = 1;
      const char type = c.peek();
      if (type < 'a' || type > 'g') return std::nullopt;
      ++c.at;
      const uint64_t sectorSize = *size * unit;
      if (sectorSize == 0) return std::nullopt;
      for (uint64_t i = 0; i < *count; ++i) {
        if (address + sectorSize > 0x100000000ull) return std::nullopt;
        map.sectors.push_back({uint32_t(address), uint32_t(sectorSize), uint8_t(type - 'a' + 1)});
        address += sectorSize;
      }
    } while (c.take(','));
  }
  if (!c.done() || map.sectors.empty()) return std::nullopt;
  return map;
}

}  // namespace orx
