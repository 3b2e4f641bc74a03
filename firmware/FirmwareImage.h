// A decoded .orx firmware image.
//
// The file is hexadecimal text, two characters per byte. Line breaks and
// blanks (a file saved by a text editor) are skipped. The decoded bytes are a run of blocks laid end to end, each starting with its
// payload length as two big-endian bytes; a block goes on the wire whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

enum class ImageLoadResult { Ok, OpenFailed, TooLarge };

class FirmwareImage {
 public:
  // The boot loader's image buffer holds at most this many bytes.
  static constexpr size_t kCapacity = 131072;

  // Decodes text two characters at a time with the link's lenient hex digits
  // (other characters stand for their own code: the boot loader judges the
  // payload, not this reader), skipping line breaks and blanks; a trailing
  // single character is ignored. More than kCapacity bytes leaves the image
  // empty and gives TooLarge.
  ImageLoadResult decode(std::string_view text);
  // Reads and decodes a file in pieces, so a huge file is refused without
  // being held in memory. OpenFailed also covers a file that cannot be read
  // and anything that is not a plain file (folder, fifo, device).
  ImageLoadResult load(const std::string& path);

  size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  const uint8_t* data() const { return bytes_.data(); }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

  // Wire length (payload + 2 length bytes) of the block starting at `pos`, or
  // 0 when its two length bytes are not both inside the image.
  size_t blockLengthAt(size_t pos) const;
  // True when the blocks end exactly at the end of the image, so that every
  // block can be sent whole.
  bool blocksFit() const;

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace orx
