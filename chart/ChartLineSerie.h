// A series drawn as one polyline through its visible points.
#pragma once

#include <QPen>
#include <vector>

#include "chart/ChartSerieBase.h"
#include "chart/LineRaster.h"

namespace orx {

class CChartLineSerie : public CChartXYSerie {
 public:
  using CChartXYSerie::CChartXYSerie;

  void SetPenWidth(int width);
  int GetPenWidth() const { return penWidth_; }
  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot.
  void SetPenStyle(int style);
  int GetPenStyle() const { return penStyle_; }
  void SetSmooth(bool smooth);

  void DrawAll(QPainter& painter) override;
  void DrawNew(QPainter& painter) override;
  void DrawLegendSample(QPainter& painter, const ChartRect& rect) override;
  bool HitTest(QPoint point, unsigned* index) const override;

  // The vertices of the whole polyline: the visible points widened by one
  // each way, with repeats of the same pixel dropped. A point that is not a
  // number ends one run; each inner vector is one unbroken line. A solid
  // 1-pixel line is drawn through fewer (see ColumnReducer), to the same pixels.
  std::vector<std::vector<QPoint>> PolylineRuns() const;

 private:
  QPen MakePen(QColor colour) const;
  // Whether thinning each pixel column keeps the drawing's pixels: only for
  // a solid 1-pixel line (a dash pattern or a wide pen follows every vertex).
  bool ThinsColumns() const;
  // How a run's vertices are thinned: not at all; to a column's first,
  // lowest and highest in their order, and last; or the same with lowest and
  // highest in any order, for a drawing that fills each column's span once.
  enum class Thinning { None, Ordered, Spans };
  // Maps the drawn range once, handing each unbroken run to `sink`; the
  // vertices are written into `vertices`, reused from draw to draw.
  template <typename Sink>
  void ForEachRun(Thinning thinning, std::vector<QPoint>& vertices, Sink&& sink) const;
  void DrawRuns(QPainter& painter, QPen pen);
  // The thinned runs drawn by hand into `target`, moved by `offset`.
  void DrawPixels(const RasterTarget& target, QColor colour, QPoint offset);

  int penWidth_ = 1;
  int penStyle_ = 0;
  bool smooth_ = false;
  std::vector<QPoint> vertices_;
};

}  // namespace orx
