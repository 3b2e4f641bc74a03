// Windows bitmap files of 32 (or 24) bits per pixel, as the graph export
// writes them: bottom-up rows, no compression, 96 DPI.
#pragma once

#include <QImage>
#include <string>

namespace orx {

// The whole file's bytes; empty for an unsupported depth or an empty image.
std::string EncodeBmp(const QImage& image, int bitsPerPixel);

}  // namespace orx
