#include "firmware/FirmwareImage.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "link/HexDigits.h"

namespace orx {

namespace {

// Feeds text in pieces; a pair split across two pieces is kept in `pending`.
bool isLayout(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

class PairDecoder {
 public:
  explicit PairDecoder(std::vector<uint8_t>& out) : out_(out) {}

  // False once the decoded bytes would exceed the capacity.
  bool feed(std::string_view text) {
    for (char c : text) {
      // A text editor's line ends, final newline or indentation would
      // otherwise shift every pair after them and spoil the image.
      if (isLayout(c)) continue;
      if (!havePending_) {
        pending_ = c;
        havePending_ = true;
        continue;
      }
      havePending_ = false;
      if (out_.size() >= FirmwareImage::kCapacity) return false;
      out_.push_back(HexPairValue(pending_, c));
    }
    return true;
  }

 private:
  std::vector<uint8_t>& out_;
  char pending_ = 0;
  bool havePending_ = false;
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

ImageLoadResult FirmwareImage::decode(std::string_view text) {
  bytes_.clear();
  bytes_.reserve(std::min(text.size() / 2, kCapacity));
  PairDecoder decoder(bytes_);
  if (!decoder.feed(text)) {
    bytes_.clear();
    return ImageLoadResult::TooLarge;
  }
  return ImageLoadResult::Ok;
}

ImageLoadResult FirmwareImage::load(const std::string& path) {
  bytes_.clear();
  // A fifo or device would block or never end; only plain files are images.
  std::error_code error;
  if (!std::filesystem::is_regular_file(std::filesystem::u8path(path), error)) return ImageLoadResult::OpenFailed;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return ImageLoadResult::OpenFailed;
  PairDecoder decoder(bytes_);
  std::vector<char> chunk(16384);
  for (;;) {
    const size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
    if (!decoder.feed(std::string_view(chunk.data(), got))) {
      bytes_.clear();
      return ImageLoadResult::TooLarge;
    }
    if (got < chunk.size()) break;
  }
  // An I/O error reads as nothing; do not take it for an empty image.
  if (std::ferror(file.get())) {
    bytes_.clear();
    return ImageLoadResult::OpenFailed;
  }
  return ImageLoadResult::Ok;
}

size_t FirmwareImage::blockLengthAt(size_t pos) const {
  if (pos >= bytes_.size() || bytes_.size() - pos < 2) return 0;
  return 256u * bytes_[pos] + bytes_[pos + 1] + 2u;
}

bool FirmwareImage::blocksFit() const {
  size_t pos = 0;
  while (pos < bytes_.size()) {
    const size_t length = blockLengthAt(pos);
    if (length == 0 || length > bytes_.size() - pos) return false;
    pos += length;
  }
  return true;
}

}  // namespace orx
