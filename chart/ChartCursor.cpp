#include "chart/ChartCursor.h"

#include <QPainter>
#include <atomic>

#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"

namespace orx {

namespace {
std::atomic<unsigned> nextCursorId{0};
}

CChartCursor::CChartCursor(CChartCtrl* parent) : parent_(parent), id_(nextCursorId++) {}

void CChartCursor::SetColor(QColor colour) {
  colour_ = colour;
  if (parent_) parent_->Redraw();
}

CChartCrossHairCursor::CChartCrossHairCursor(CChartCtrl* parent, int horizontalSlot, int verticalSlot)
    : CChartCursor(parent), horizontalSlot_(horizontalSlot), verticalSlot_(verticalSlot) {}

void CChartCrossHairCursor::OnMouseMove(int x, int y) {
  lastX_ = x;
  lastY_ = y;
  placed_ = true;
  const CChartAxis* horizontal = parent_ ? parent_->GetAxis(horizontalSlot_) : nullptr;
  const CChartAxis* vertical = parent_ ? parent_->GetAxis(verticalSlot_) : nullptr;
  const double xValue = horizontal ? horizontal->PixelToValue(x) : 0.0;
  const double yValue = vertical ? vertical->PixelToValue(y) : 0.0;
  for (CChartCursorListener* listener : listeners_) listener->OnCursorMoved(xValue, yValue);
}

void CChartCrossHairCursor::Draw(QPainter& painter) const {
  if (!shown_ || !placed_ || !parent_) return;
  const ChartRect& plot = parent_->GetPlottingRect();
  painter.save();
  painter.setPen(QPen(colour_, 1));
  painter.drawLine(lastX_, plot.top, lastX_, plot.bottom);
  painter.restore();
}

bool CChartCrossHairCursor::DrawPixels(const RasterTarget& target, int shiftX, int shiftY) const {
  if (!shown_ || !placed_ || !parent_) return true;
  if (colour_.alpha() != 255) return false;  // blends: the painter's job
  const ChartRect& plot = parent_->GetPlottingRect();
  LineRaster(target, colour_.rgba()).Segment(lastX_ + shiftX, plot.top + shiftY, lastX_ + shiftX, plot.bottom + shiftY);
  return true;
}

QRect CChartCrossHairCursor::Area() const {
  if (!shown_ || !parent_) return {};
  const ChartRect& plot = parent_->GetPlottingRect();
  return QRect(QPoint(lastX_, plot.top), QPoint(lastX_, plot.bottom));
}

}  // namespace orx
