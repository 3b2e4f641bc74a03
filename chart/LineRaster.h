// Draws 1-pixel polylines straight into 32-bit pixel memory, one opaque
// colour, no blending. A chart curve is mostly short steep strokes, and the
// painter's per-stroke and per-pixel set-up costs more than the pixels
// themselves; here a pixel is one store.
//
// Each segment lights the pixels an aliased cosmetic line of the raster
// painter lights when drawn alone: one pixel per step of its longer axis,
// stepped in 16.16 fixed point from the end where that axis is smallest,
// both ends included. A polyline is the union of its segments, so a thinned
// column of a curve (see ColumnReducer) lights exactly the pixels of all its
// samples. Pure arithmetic: no Qt.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace orx {

// The pixels to draw into, and the rectangle (edges included) a line may touch.
struct RasterTarget {
  std::uint32_t* bits = nullptr;
  std::ptrdiff_t stride = 0;  // pixels from one row to the next
  int left = 0, top = 0, right = -1, bottom = -1;
};

class LineRaster {
 public:
  // `offsetX`, `offsetY` move every vertex (a curve's shadow).
  LineRaster(const RasterTarget& target, std::uint32_t pixel, int offsetX = 0, int offsetY = 0)
      : t_(target), pixel_(pixel), offsetX_(offsetX), offsetY_(offsetY) {}

  void Segment(int x0, int y0, int x1, int y1);

  // Points with x() and y(). The strokes between vertices of one column
  // light one span from the column's lowest to its highest vertex, drawn once.
  template <typename Point>
  void Polyline(const Point* points, std::size_t count) {
    for (std::size_t i = 0; i < count;) {
      const int x = points[i].x();
      int low = points[i].y(), high = low;
      std::size_t next = i + 1;
      for (; next < count && points[next].x() == x; ++next) {
        low = std::min(low, points[next].y());
        high = std::max(high, points[next].y());
      }
      if (next - i > 1) Segment(x + offsetX_, low + offsetY_, x + offsetX_, high + offsetY_);
      if (next < count)
        Segment(points[next - 1].x() + offsetX_, points[next - 1].y() + offsetY_, points[next].x() + offsetX_,
                points[next].y() + offsetY_);
      i = next;
    }
  }

 private:
  RasterTarget t_;
  std::uint32_t pixel_;
  int offsetX_, offsetY_;
};

}  // namespace orx
