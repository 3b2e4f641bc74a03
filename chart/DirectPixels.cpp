#include "chart/DirectPixels.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <cstring>

namespace orx {

std::optional<DirectTarget> DirectPixels(QPainter& painter, const QRect& clip) {
  QPaintEngine* engine = painter.paintEngine();
  if (!engine || engine->type() != QPaintEngine::Raster) return std::nullopt;
  // A widget's painter names the widget as its device; the engine knows the
  // picture it really paints into.
  QPaintDevice* device = engine->paintDevice();
  if (!device || device->devType() != QInternal::Image) return std::nullopt;
  auto* image = static_cast<QImage*>(device);
  const QImage::Format format = image->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied)
    return std::nullopt;
  const QTransform transform = painter.deviceTransform();
  if (transform.type() > QTransform::TxTranslate || transform.dx() != std::floor(transform.dx()) ||
      transform.dy() != std::floor(transform.dy()) || image->devicePixelRatio() != 1.0 || painter.opacity() != 1.0 ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver || !image->isDetached())
    return std::nullopt;
  const QPoint shift(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
  const QRect area = clip.translated(shift) & image->rect();
  if (area.isEmpty()) return std::nullopt;  // the painter's clip shows nothing either
  return DirectTarget{{reinterpret_cast<std::uint32_t*>(image->bits()), image->bytesPerLine() / 4, area.left(),
                       area.top(), area.right(), area.bottom()},
                      shift};
}

RasterTarget Clipped(const DirectTarget& target, const QRect& clip) {
  RasterTarget t = target.pixels;
  const QRect c = clip.translated(target.shift);
  t.left = std::max(t.left, c.left());
  t.top = std::max(t.top, c.top());
  t.right = std::min(t.right, c.right());
  t.bottom = std::min(t.bottom, c.bottom());
  return t;
}

void CopyPixels(const QImage& picture, const QRect& rect, const DirectTarget& target) {
  const QRect from = rect & picture.rect();
  const RasterTarget to = Clipped(target, from);
  if (to.left > to.right || to.top > to.bottom) return;
  const int width = to.right - to.left + 1;
  for (int y = to.top; y <= to.bottom; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y - target.shift.y())) +
                      (to.left - target.shift.x());
    std::uint32_t* dst = to.bits + y * to.stride + to.left;
    // A cursor's strip is a few pixels a row: a call per row would cost more.
    if (width <= 8)
      for (int i = 0; i < width; ++i) dst[i] = src[i];
    else
      std::memcpy(dst, src, static_cast<size_t>(width) * 4);
  }
}

}  // namespace orx
