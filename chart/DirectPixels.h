// Where a painter's pixels are, for drawing that bypasses it. A thin line or
// a copied strip costs the painter more in set-up per row than the pixels
// themselves; written by hand they are one store each.
#pragma once

#include <QPoint>
#include <QRect>
#include <optional>

#include "chart/LineRaster.h"

class QImage;
class QPainter;

namespace orx {

// The pixels, limited to a clip, and the whole-pixel shift from the painter's
// coordinates to theirs.
struct DirectTarget {
  RasterTarget pixels;
  QPoint shift;
};

// Only when the painter paints into a 32-bit picture under the raster engine
// (a widget's painter paints into its window's backing picture), shifted by
// whole pixels at most, at full opacity in SourceOver, so that what is
// written by hand lands where the painter would put it. `clip` is in the
// painter's coordinates; the painter's own clip is not applied.
std::optional<DirectTarget> DirectPixels(QPainter& painter, const QRect& clip);

// `target` limited further to `clip`, in the painter's coordinates.
RasterTarget Clipped(const DirectTarget& target, const QRect& clip);

// Copies `rect` of `picture` (opaque, 32-bit) to the same place of `target`.
void CopyPixels(const QImage& picture, const QRect& rect, const DirectTarget& target);

}  // namespace orx
