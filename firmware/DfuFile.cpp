#include "firmware/DfuFile.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "base/RegularFile.h"

namespace orx {

namespace {

constexpr uint8_t kFileVersion = 0x01;
constexpr uint16_t kDfuSeVersion = 0x011A;

uint32_t le32(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t le16(std::span<const uint8_t> b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

const std::array<uint32_t, 256>& crcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

}  // namespace

uint32_t DfuSuffixCrc(std::span<const uint8_t> bytes) {
  uint32_t c = 0xFFFFFFFFu;
  for (uint8_t b : bytes) c = crcTable()[(c ^ b) & 0xFF] ^ (c >> 8);
  return c;
}

uint32_t Crc32(std::span<const uint8_t> bytes) { return ~DfuSuffixCrc(bytes); }

size_t DfuImage::size() const {
  size_t n = 0;
  for (const DfuElement& e : elements) n += e.data.size();
  return n;
}

const DfuImage* DfuFile::imageFor(uint8_t alternate) const {
  for (const DfuImage& image : images) {
    if (image.alternate == alternate) return &image;
  }
  return nullptr;
}

DfuFileResult ParseDfuFile(std::span<const uint8_t> bytes) {
  DfuFileResult r;
  if (bytes.size() > kMaxDfuFileSize) return {DfuFileError::TooLarge, {}};
  if (bytes.size() < kDfuPrefixSize + kDfuSuffixSize) return {DfuFileError::TooShort, {}};
  if (std::memcmp(bytes.data(), "DfuSe", 5) != 0 || bytes[5] != kFileVersion) return {DfuFileError::NoPrefix, {}};

  const size_t suffixAt = bytes.size() - kDfuSuffixSize;
  const auto suffix = bytes.subspan(suffixAt);
  if (std::memcmp(suffix.data() + 8, "UFD", 3) != 0 || suffix[11] != kDfuSuffixSize) return {DfuFileError::NoSuffix, {}};
  if (le32(suffix, 12) != DfuSuffixCrc(bytes.first(bytes.size() - 4))) return {DfuFileError::BadCrc, {}};
  r.file.deviceVersion = le16(suffix, 0);
  r.file.productId = le16(suffix, 2);
  r.file.vendorId = le16(suffix, 4);
  r.file.dfuVersion = le16(suffix, 6);

  // The prefix counts itself and the targets, not the suffix.
  if (le32(bytes, 6) != suffixAt) return {DfuFileError::BadImageSize, {}};
  const auto body = bytes.first(suffixAt);
  const unsigned targets = bytes[10];

  size_t at = kDfuPrefixSize;
  for (unsigned t = 0; t < targets; ++t) {
    if (body.size() - at < kDfuTargetPrefixSize || std::memcmp(body.data() + at, "Target", 6) != 0) {
      return {DfuFileError::BadTarget, {}};
    }
    DfuImage image;
    image.alternate = body[at + 6];
    image.named = le32(body, at + 7) != 0;
    const char* name = reinterpret_cast<const char*>(body.data() + at + 11);
    image.name.assign(name, strnlen(name, 255));
    const uint32_t targetSize = le32(body, at + 266);
    const uint32_t elementCount = le32(body, at + 270);
    at += kDfuTargetPrefixSize;
    if (targetSize > body.size() - at) return {DfuFileError::BadTarget, {}};
    const auto target = body.subspan(at, targetSize);
    size_t e = 0;
    for (uint32_t i = 0; i < elementCount; ++i) {
      if (target.size() - e < kDfuElementHeaderSize) return {DfuFileError::BadElement, {}};
      DfuElement element;
      element.address = le32(target, e);
      const uint32_t size = le32(target, e + 4);
      e += kDfuElementHeaderSize;
      if (size > target.size() - e) return {DfuFileError::BadElement, {}};
      if (uint64_t(element.address) + size > 0x100000000ull) return {DfuFileError::BadElement, {}};
      element.data.assign(target.begin() + e, target.begin() + e + size);
      e += size;
      image.elements.push_back(std::move(element));
    }
    if (e != target.size()) return {DfuFileError::BadElement, {}};
    at += targetSize;
    r.file.images.push_back(std::move(image));
  }
  if (at != body.size()) return {DfuFileError::BadTarget, {}};
  return r;
}

DfuFileResult ReadDfuFile(const std::string& path) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return {DfuFileError::CannotOpen, {}};
  std::vector<uint8_t> bytes;
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || bytes.size() + size_t(n) > kMaxDfuFileSize) {
      ::close(fd);
      if (n < 0) return {DfuFileError::CannotOpen, {}};
      if (n > 0) return {DfuFileError::TooLarge, {}};
      return ParseDfuFile(bytes);
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
}

std::vector<uint8_t> BuildDfuFile(const DfuFile& file) {
  std::vector<uint8_t> out{'D', 'f', 'u', 'S', 'e', kFileVersion, 0, 0, 0, 0, uint8_t(file.images.size())};
  for (const DfuImage& image : file.images) {
    const char signature[] = "Target";
    out.insert(out.end(), signature, signature + 6);
    out.push_back(image.alternate);
    put32(out, image.named ? 1 : 0);
    std::array<uint8_t, 255> name{};
    std::memcpy(name.data(), image.name.data(), std::min(image.name.size(), name.size()));
    out.insert(out.end(), name.begin(), name.end());
    uint32_t targetSize = 0;
    for (const DfuElement& e : image.elements) targetSize += uint32_t(kDfuElementHeaderSize + e.data.size());
    put32(out, targetSize);
    put32(out, uint32_t(image.elements.size()));
    for (const DfuElement& e : image.elements) {
      put32(out, e.address);
      put32(out, uint32_t(e.data.size()));
      out.insert(out.end(), e.data.begin(), e.data.end());
    }
  }
  const uint32_t imageSize = uint32_t(out.size());
  for (int i = 0; i < 4; ++i) out[6 + i] = uint8_t(imageSize >> (8 * i));
  put16(out, file.deviceVersion);
  put16(out, file.productId);
  put16(out, file.vendorId);
  put16(out, file.dfuVersion != 0 ? file.dfuVersion : kDfuSeVersion);
  out.insert(out.end(), {'U', 'F', 'D', uint8_t(kDfuSuffixSize)});
  put32(out, DfuSuffixCrc(out));
  return out;
}

std::string_view DfuFileErrorText(DfuFileError error) {
  switch (error) {
    case DfuFileError::None: return "no error";
    case DfuFileError::CannotOpen: return "cannot open the file";
    case DfuFileError::TooLarge: return "file too large";
    case DfuFileError::TooShort: return "file too short";
    case DfuFileError::NoPrefix: return "no DfuSe prefix";
    case DfuFileError::NoSuffix: return "no DFU suffix";
    case DfuFileError::BadCrc: return "CRC mismatch";
    case DfuFileError::BadImageSize: return "image size mismatch";
    case DfuFileError::BadTarget: return "bad target";
    case DfuFileError::BadElement: return "bad element";
  }
  return "unknown error";
}

}  // namespace orx
