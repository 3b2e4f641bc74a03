// A series drawn as one polyline through its visible points.
#pragma once

#include <QPen>
#include <vector>

#include "chart/ChartSerieBase.h"

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

  // The vertices the polyline is drawn through: the visible points widened by
  // one each way, with repeats of the same pixel dropped. A point that is not
  // a number ends one run; each inner vector is one unbroken line.
  std::vector<std::vector<QPoint>> PolylineRuns() const;

 private:
  QPen MakePen(QColor colour) const;
  void DrawRuns(QPainter& painter, const std::vector<std::vector<QPoint>>& runs, QPoint offset) const;

  int penWidth_ = 1;
  int penStyle_ = 0;
  bool smooth_ = false;
};

}  // namespace orx
