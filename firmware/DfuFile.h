// DfuSe firmware files (.dfu): a "DfuSe" prefix, one target per alternate
// setting with its named image elements, and the 16-byte DFU suffix whose
// CRC-32 covers everything before it. Read whole into memory and checked
// before anything is sent to the ESC.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

struct DfuElement {
  uint32_t address = 0;
  std::vector<uint8_t> data;
};

// One target of the file: the image for one alternate setting.
struct DfuImage {
  uint8_t alternate = 0;
  bool named = false;
  std::string name;  // up to 255 characters, as the file gives them
  std::vector<DfuElement> elements;

  size_t size() const;  // data bytes of all elements
};

struct DfuFile {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t deviceVersion = 0;
  uint16_t dfuVersion = 0;
  std::vector<DfuImage> images;

  // The first image for this alternate setting, or null.
  const DfuImage* imageFor(uint8_t alternate) const;
};

enum class DfuFileError {
  None,
  CannotOpen,      // missing or unreadable
  TooLarge,        // beyond any flash an ESC has
  TooShort,        // shorter than prefix and suffix together
  NoPrefix,        // no "DfuSe" signature or an unknown version
  NoSuffix,        // no "UFD" signature or a wrong suffix length
  BadCrc,          // the suffix CRC does not match the content
  BadImageSize,    // the prefix's size disagrees with the file
  BadTarget,       // a target runs past the file or lacks its "Target" signature
  BadElement,      // an element runs past its target
};

struct DfuFileResult {
  DfuFileError error = DfuFileError::None;
  DfuFile file;
  bool ok() const { return error == DfuFileError::None; }
};

inline constexpr size_t kDfuPrefixSize = 11;
inline constexpr size_t kDfuTargetPrefixSize = 274;
inline constexpr size_t kDfuElementHeaderSize = 8;
inline constexpr size_t kDfuSuffixSize = 16;
inline constexpr size_t kMaxDfuFileSize = 16u * 1024 * 1024;

DfuFileResult ParseDfuFile(std::span<const uint8_t> bytes);
DfuFileResult ReadDfuFile(const std::string& path);

// CRC-32 (reflected, polynomial 0xEDB88320) as zip and Ethernet use it.
uint32_t Crc32(std::span<const uint8_t> bytes);
// The value a DFU suffix stores: the CRC register without the final inversion.
uint32_t DfuSuffixCrc(std::span<const uint8_t> bytes);

// A complete DfuSe file for these images (prefix, targets, suffix with CRC).
std::vector<uint8_t> BuildDfuFile(const DfuFile& file);

std::string_view DfuFileErrorText(DfuFileError error);

}  // namespace orx
