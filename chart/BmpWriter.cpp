#include "chart/BmpWriter.h"

#include <cstdint>

namespace orx {

namespace {

void Put16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

constexpr uint32_t kHeaderBytes = 14 + 40;
constexpr uint32_t kPixelsPerMetre = 3780;  // 96 DPI

}  // namespace

std::string EncodeBmp(const QImage& source, int bitsPerPixel) {
  if (bitsPerPixel != 32 && bitsPerPixel != 24) return {};
  if (source.isNull() || source.width() <= 0 || source.height() <= 0) return {};
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  const uint64_t width = static_cast<uint64_t>(image.width());
  const uint64_t height = static_cast<uint64_t>(image.height());
  const uint64_t rowBytes = (width * bitsPerPixel / 8 + 3) / 4 * 4;  // rows padded to 4 bytes
  const uint64_t pixelBytes = rowBytes * height;
  if (kHeaderBytes + pixelBytes > UINT32_MAX) return {};

  std::string out;
  out.reserve(kHeaderBytes + pixelBytes);
  out += "BM";
  Put32(out, static_cast<uint32_t>(kHeaderBytes + pixelBytes));
  Put32(out, 0);  // reserved
  Put32(out, kHeaderBytes);
  Put32(out, 40);  // BITMAPINFOHEADER
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));  // positive: bottom-up
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(bitsPerPixel));
  Put32(out, 0);  // BI_RGB
  Put32(out, static_cast<uint32_t>(pixelBytes));
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 0);
  Put32(out, 0);

  for (int y = image.height() - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const size_t rowStart = out.size();
    for (int x = 0; x < image.width(); ++x) {
      out.push_back(static_cast<char>(qBlue(line[x])));
      out.push_back(static_cast<char>(qGreen(line[x])));
      out.push_back(static_cast<char>(qRed(line[x])));
      if (bitsPerPixel == 32) out.push_back(static_cast<char>(0xFF));
    }
    out.append(rowStart + rowBytes - out.size(), '\0');
  }
  return out;
}

}  // namespace orx
