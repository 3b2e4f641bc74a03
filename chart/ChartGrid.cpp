#include "chart/ChartGrid.h"

#include <QPainter>

#include "chart/ChartCtrl.h"

namespace orx {

CChartGrid::CChartGrid(CChartCtrl* parent, bool horizontal) : parent_(parent), horizontal_(horizontal) {}

void CChartGrid::SetShown(bool shown) {
  shown_ = shown;
  if (parent_) parent_->Redraw();
}

void CChartGrid::SetColor(QColor colour) {
  colour_ = colour;
  if (parent_) parent_->Redraw();
}

void CChartGrid::Draw(QPainter& painter, const ChartRect& plot) const {
  if (!shown_ || plot.IsEmpty()) return;
  painter.save();
  painter.setClipRect(plot.left, plot.top, plot.Width(), plot.Height());
  painter.setPen(QPen(colour_, 0));
  for (int tick : ticks_) {
    if (horizontal_) {
      for (int y = plot.bottom; y > plot.top; y -= 6) painter.drawLine(tick, y, tick, y - 2);
    } else {
      for (int x = plot.left; x < plot.right; x += 6) painter.drawLine(x, tick, x + 2, tick);
    }
  }
  painter.restore();
}

}  // namespace orx
