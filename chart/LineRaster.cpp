#include "chart/LineRaster.h"

#include <algorithm>
#include <utility>

namespace orx {

void LineRaster::Segment(int x0, int y0, int x1, int y1) {
  // 64 bits: vertices may lie far off the picture (a deep zoom).
  long long dx = static_cast<long long>(x1) - x0, dy = static_cast<long long>(y1) - y0;
  if (dx == 0 && dy == 0) return;  // nor does the painter, within a polyline
  const bool steep = (dy < 0 ? -dy : dy) > (dx < 0 ? -dx : dx);
  if (steep ? dy < 0 : dx < 0) {
    std::swap(x0, x1);
    std::swap(y0, y1);
    dx = -dx;
    dy = -dy;
  }
  // Along the major axis from its smaller end; the minor axis follows.
  const long long length = steep ? dy : dx, drift = steep ? dx : dy;
  const long long slope = drift * 65536 / length;  // truncated, as the painter's is
  const long long start = drift > 0 ? (slope + 1) >> 1 : 0;
  const long long major0 = steep ? y0 : x0, minor0 = steep ? x0 : y0;
  const long long majorLow = steep ? t_.top : t_.left, majorHigh = steep ? t_.bottom : t_.right;
  const long long minorLow = steep ? t_.left : t_.top, minorHigh = steep ? t_.right : t_.bottom;
  const long long first = std::max(0LL, majorLow - major0), last = std::min(length, majorHigh - major0);
  if (first > last) return;
  const std::ptrdiff_t majorStep = steep ? t_.stride : 1, minorStep = steep ? 1 : t_.stride;
  // Held apart from the pixels: a store through them could otherwise be the colour itself.
  const std::uint32_t pixel = pixel_;
  std::uint32_t* const bits = t_.bits;
  if (drift == 0) {  // straight across or down: no stepping
    if (minor0 < minorLow || minor0 > minorHigh) return;
    std::uint32_t* p = bits + (major0 + first) * majorStep + minor0 * minorStep;
    for (long long k = first; k <= last; ++k, p += majorStep) *p = pixel;
    return;
  }
  for (long long k = first; k <= last; ++k) {
    const long long minor = minor0 + (k == length ? drift : (k * slope + start) >> 16);
    if (minor < minorLow || minor > minorHigh) continue;
    bits[(major0 + k) * majorStep + minor * minorStep] = pixel;
  }
}

}  // namespace orx
