// .orx firmware images: decode the text and walk its blocks as the serial
// update does.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "firmware/FirmwareImage.h"

using namespace orx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FirmwareImage image;
  if (image.decode(std::string_view(reinterpret_cast<const char*>(data), size)) != ImageLoadResult::Ok) return 0;
  for (size_t pos = 0; pos < image.size();) {
    const size_t length = image.blockLengthAt(pos);
    if (length == 0) break;
    pos += length;
  }
  return 0;
}
