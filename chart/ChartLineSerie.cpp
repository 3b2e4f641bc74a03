#include "chart/ChartLineSerie.h"

#include <QPainterPath>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "chart/AxisPixels.h"
#include "chart/ColumnReducer.h"
#include "chart/DirectPixels.h"

namespace orx {

void CChartLineSerie::SetPenWidth(int width) {
  penWidth_ = width;
  Redraw();
}

void CChartLineSerie::SetPenStyle(int style) {
  penStyle_ = style;
  Redraw();
}

void CChartLineSerie::SetSmooth(bool smooth) {
  smooth_ = smooth;
  Redraw();
}

QPen CChartLineSerie::MakePen(QColor colour) const {
  if (penStyle_ == 0) {
    QPen pen(colour, penWidth_ <= 1 ? 0 : penWidth_);
    pen.setCosmetic(true);
    return pen;
  }
  Qt::PenStyle style = Qt::SolidLine;
  switch (penStyle_) {
    case 1: style = Qt::DashLine; break;
    case 2: style = Qt::DotLine; break;
    case 3: style = Qt::DashDotLine; break;
    case 4: style = Qt::DashDotDotLine; break;
    default: break;
  }
  return QPen(QBrush(colour), std::max(1, penWidth_), style, Qt::FlatCap, Qt::MiterJoin);
}

namespace {

// One axis' mapping for a whole draw: the linear scale read once, or the axis
// itself when it snaps values to its steps.
class AxisMapper {
 public:
  explicit AxisMapper(const CChartAxis& axis)
      : axis_(axis), linear_(axis.Scale()), snapping_(axis.IsDiscrete() && axis.GetMax() != axis.GetMin()) {}
  int operator()(double value) const { return snapping_ ? axis_.ValueToPixel(value) : linear_(value); }
  LinearAxisPixels::Cell CellOf(double value) const { return snapping_ ? LinearAxisPixels::Cell{} : linear_.CellOf(value); }

 private:
  const CChartAxis& axis_;
  LinearAxisPixels linear_;
  bool snapping_;
};

}  // namespace

template <typename Sink>
void CChartLineSerie::ForEachRun(Thinning thinning, std::vector<QPoint>& vertices, Sink&& sink) const {
  unsigned first = 0, last = 0;
  if (!DrawRange(&first, &last)) return;
  const AxisMapper toX(*horizontalAxis_), toY(*verticalAxis_);
  const std::vector<ChartXY>& points = points_.Places();
  vertices.clear();
  ColumnReducer reducer(vertices, toY, thinning == Thinning::Ordered);
  const bool reduce = thinning != Thinning::None;
  const bool sortedByX = points_.Ordering() == PointOrdering::ByX;
  auto endRun = [&] {
    reducer.flush();
    if (vertices.size() > 1) sink(vertices);
    vertices.clear();
  };
  // Most samples of a dense log fall in the pixel column of the one before:
  // only one that leaves the column is mapped.
  LinearAxisPixels::Cell column;
  int columnX = 0;
  for (unsigned i = first; i <= last; ++i) {
    const ChartXY& p = points[i];
    if (!std::isfinite(p.X) || !std::isfinite(p.Y)) {
      endRun();
    } else if (reduce) {
      if (!column.holds(p.X)) {
        columnX = toX(p.X);
        column = toX.CellOf(p.X);
      }
      i = reducer.AddWhileInside(columnX, points, i, last, column, sortedByX) - 1;
    } else {
      const QPoint px(toX(p.X), toY(p.Y));
      if (vertices.empty() || vertices.back() != px) vertices.push_back(px);
    }
  }
  endRun();
}

std::vector<std::vector<QPoint>> CChartLineSerie::PolylineRuns() const {
  std::vector<std::vector<QPoint>> runs;
  std::vector<QPoint> vertices;
  ForEachRun(Thinning::None, vertices, [&](const std::vector<QPoint>& run) { runs.push_back(run); });
  return runs;
}

bool CChartLineSerie::ThinsColumns() const { return penStyle_ == 0 && penWidth_ <= 1 && !smooth_; }

namespace {

// Cubic pieces through every vertex, tangents from the neighbours.
QPainterPath SmoothPath(const std::vector<QPoint>& pts) {
  QPainterPath path(pts.front());
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    const QPointF p0 = pts[i == 0 ? 0 : i - 1];
    const QPointF p1 = pts[i];
    const QPointF p2 = pts[i + 1];
    const QPointF p3 = pts[i + 2 < pts.size() ? i + 2 : i + 1];
    path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
  }
  return path;
}

}  // namespace

void CChartLineSerie::DrawRuns(QPainter& painter, QPen pen) {
  painter.setPen(pen);
  ForEachRun(ThinsColumns() ? Thinning::Ordered : Thinning::None, vertices_, [&](const std::vector<QPoint>& run) {
    if (smooth_)
      painter.drawPath(SmoothPath(run));
    else
      painter.drawPolyline(run.data(), static_cast<int>(run.size()));
  });
}

void CChartLineSerie::DrawPixels(const RasterTarget& target, QColor colour, QPoint offset) {
  LineRaster raster(target, colour.rgba(), offset.x(), offset.y());
  ForEachRun(Thinning::Spans, vertices_,
             [&](const std::vector<QPoint>& run) { raster.Polyline(run.data(), run.size()); });
}

void CChartLineSerie::DrawAll(QPainter& painter) {
  if (!shown_ || !horizontalAxis_ || !verticalAxis_) return;
  lastDrawn_ = PointCount() ? PointCount() - 1 : 0;
  const QRect clip(plottingRect_.left, plottingRect_.top, plottingRect_.Width(), plottingRect_.Height());
  // An opaque thin solid line goes straight into the pixels when it can.
  const bool opaque = colour_.alpha() == 255 && (!shadow_ || shadowColour_.alpha() == 255);
  if (const auto target = ThinsColumns() && opaque ? DirectPixels(painter, clip) : std::nullopt) {
    if (shadow_) DrawPixels(target->pixels, shadowColour_, target->shift + QPoint(shadowDepth_, shadowDepth_));
    DrawPixels(target->pixels, colour_, target->shift);
    return;
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  painter.setClipRect(clip);
  if (shadow_) {
    painter.translate(shadowDepth_, shadowDepth_);
    DrawRuns(painter, MakePen(shadowColour_));
    painter.translate(-shadowDepth_, -shadowDepth_);
  }
  DrawRuns(painter, MakePen(colour_));
  painter.restore();
}

void CChartLineSerie::DrawNew(QPainter& painter) {
  if (!shown_ || !horizontalAxis_ || !verticalAxis_) return;
  if (shadow_ || smooth_) {
    DrawAll(painter);
    return;
  }
  const unsigned count = PointCount();
  if (count < 2 || lastDrawn_ + 1 >= count) return;
  painter.save();
  painter.setClipRect(plottingRect_.left, plottingRect_.top, plottingRect_.Width(), plottingRect_.Height());
  painter.setPen(MakePen(colour_));
  for (unsigned i = lastDrawn_; i + 1 < count; ++i) {
    const SChartXYPoint& a = points_[i];
    const SChartXYPoint& b = points_[i + 1];
    if (std::isfinite(a.X) && std::isfinite(a.Y) && std::isfinite(b.X) && std::isfinite(b.Y))
      painter.drawLine(PointPixel(i), PointPixel(i + 1));
  }
  painter.restore();
  lastDrawn_ = count - 1;
}

void CChartLineSerie::DrawLegendSample(QPainter& painter, const ChartRect& rect) {
  if (name_.empty()) return;
  painter.save();
  painter.setPen(MakePen(colour_));
  const int y = rect.top + rect.Height() / 2;
  painter.drawLine(rect.left, y, rect.right, y);
  painter.restore();
}

bool CChartLineSerie::HitTest(QPoint point, unsigned* index) const {
  *index = kNoPoint;
  unsigned first = 0, last = 0;
  if (!horizontalAxis_ || !verticalAxis_ || !DrawRange(&first, &last)) return false;
  for (unsigned i = first; i < last; ++i) {
    const QPoint a = PointPixel(i);
    const QPoint b = PointPixel(i + 1);
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double lengthSq = dx * dx + dy * dy;
    const double t = lengthSq == 0.0 ? 0.0 : ((point.x() - a.x()) * dx + (point.y() - a.y()) * dy) / lengthSq;
    if (t < 0.0 || t > 1.0) continue;
    const double px = a.x() + t * dx;
    const double py = a.y() + t * dy;
    if (std::fabs(point.x() - px) > 3.0 || std::fabs(point.y() - py) > 3.0) continue;
    auto near = [&](QPoint q) { return std::abs(point.x() - q.x()) <= 5 && std::abs(point.y() - q.y()) <= 5; };
    if (near(a)) *index = i;
    if (near(b)) *index = i + 1;
    return true;
  }
  return false;
}

}  // namespace orx
