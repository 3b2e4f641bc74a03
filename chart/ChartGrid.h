// Dotted grid lines of one axis across the plotting rectangle, one per tick.
#pragma once

#include <QColor>
#include <vector>

#include "chart/ChartRect.h"

class QPainter;

namespace orx {

class CChartCtrl;

class CChartGrid {
 public:
  CChartGrid(CChartCtrl* parent, bool horizontal);
  virtual ~CChartGrid() = default;

  void SetShown(bool shown);
  bool IsShown() const { return shown_; }
  void SetColor(QColor colour);
  QColor GetColor() const { return colour_; }

  void ClearTicks() { ticks_.clear(); }
  void AddTick(int pixel) { ticks_.push_back(pixel); }
  const std::vector<int>& Ticks() const { return ticks_; }

  // 3-pixel dashes every 6 pixels: vertical lines from the bottom up for a
  // horizontal axis, horizontal lines from the left for a vertical one.
  void Draw(QPainter& painter, const ChartRect& plot) const;

 private:
  CChartCtrl* parent_;
  QColor colour_ = QColor(128, 128, 128);
  bool shown_ = true;
  bool horizontal_;
  std::vector<int> ticks_;
};

}  // namespace orx
