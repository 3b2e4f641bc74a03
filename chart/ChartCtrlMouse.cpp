// Mouse handling of the chart control: zoom rectangle, panning, cursors, the
// read-out of the graph window and the mouse listeners.
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "chart/AxisMath.h"
#include "chart/ChartCtrl.h"

namespace orx {

namespace {

// Gives the axis a new full range; a zoomed part of it is mapped along, so
// the scale keeps matching curves that are drawn against another axis.
void RescaleKeepingZoom(CChartAxis& axis, double min, double max) {
  const double oldMin = axis.GetUndoZoomMin();
  const double oldSpan = axis.GetUndoZoomMax() - oldMin;
  const bool zoomed = axis.GetMin() != oldMin || axis.GetMax() != axis.GetUndoZoomMax();
  const double lo = axis.GetMin(), hi = axis.GetMax();
  axis.SetRange(min, max);
  if (!zoomed || oldSpan == 0.0) return;
  const double k = (max - min) / oldSpan;
  axis.SetZoomRange(min + (lo - oldMin) * k, min + (hi - oldMin) * k);
}

}  // namespace

CChartCrossHairCursor* CChartCtrl::AddCrossHair(bool topAxis, bool rightAxis) {
  auto cursor = std::make_unique<CChartCrossHairCursor>(this, topAxis ? kTopAxis : kBottomAxis,
                                                        rightAxis ? kRightAxis : kLeftAxis);
  CChartCrossHairCursor* raw = cursor.get();
  raw->SetColor(Qt::black);
  crossHair_ = raw;
  cursors_[raw->GetCursorId()] = std::move(cursor);
  return raw;
}

void CChartCtrl::ShowMouseCursor(bool shown) {
  showSystemCursor_ = shown;
  if (!shown) setCursor(Qt::BlankCursor);
}

void CChartCtrl::SetReadoutLabel(ReadoutStatic which, QLabel* label) {
  readoutLabels_[static_cast<size_t>(which)] = label;
  labelCurrent_[static_cast<size_t>(which)] = false;
}

const std::string& CChartCtrl::ReadoutText(ReadoutStatic which) const {
  return readoutTexts_[static_cast<size_t>(which)];
}

void CChartCtrl::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton) OnLeftDown(p);
  else if (event->button() == Qt::RightButton) OnRightDown(p);
}

void CChartCtrl::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton) OnLeftUp(p);
  else if (event->button() == Qt::RightButton) OnRightUp(p);
}

void CChartCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    RenderedImage();
    if (zoomEnabled_ && plottingRect_.Contains(p.x(), p.y())) ResetZoom();
    Notify(ChartMouseEvent::LButtonDoubleClick, p);
  }
  else if (event->button() == Qt::RightButton) Notify(ChartMouseEvent::RButtonDoubleClick, p);
}

void CChartCtrl::mouseMoveEvent(QMouseEvent* event) { OnMove(event->position().toPoint()); }

void CChartCtrl::wheelEvent(QWheelEvent* event) {
  RenderedImage();
  const QPoint p = event->position().toPoint();
  const int delta = event->angleDelta().y();
  if (!zoomEnabled_ || delta == 0 || !plottingRect_.Contains(p.x(), p.y())) return event->ignore();
  // One notch (120) shows 80 % of the range; a touchpad's smaller steps less.
  constexpr double kNotchFactor = 0.8;
  ZoomAt(p, std::pow(kNotchFactor, delta / 120.0), event->modifiers() & Qt::ControlModifier);
  event->accept();
}

void CChartCtrl::ZoomAt(QPoint at, double factor, bool everyAxis) {
  for (auto& axis : axes_) {
    if (!axis || !(everyAxis || axis->IsHorizontal())) continue;
    const double value = axis->PixelToValue(axis->IsHorizontal() ? at.x() : at.y());
    const double fullMin = std::min(axis->GetUndoZoomMin(), axis->GetUndoZoomMax());
    const double fullMax = std::max(axis->GetUndoZoomMin(), axis->GetUndoZoomMax());
    const Range r = ZoomAround(axis->GetMin(), axis->GetMax(), value, factor, fullMin, fullMax);
    axis->SetZoomRange(r.min, r.max);
  }
  Redraw();
}

void CChartCtrl::OnLeftDown(QPoint p) {
  RenderedImage();  // the geometry below is the last render's
  if (zoomEnabled_) {
    zoomDragging_ = true;
    zoomStart_ = zoomEnd_ = p;
  }
  if (plottingRect_.Contains(p.x(), p.y())) {
    for (auto& [id, cursor] : cursors_) cursor->OnButtonDown(p.x(), p.y());
    update();
  }
  Notify(ChartMouseEvent::LButtonDown, p);
}

void CChartCtrl::OnLeftUp(QPoint p) {
  RenderedImage();
  const bool wasDragging = zoomDragging_;
  zoomDragging_ = false;
  if (wasDragging) zoomEnd_ = p;
  if (zoomEnabled_ && wasDragging) Zoom();
  if (plottingRect_.Contains(p.x(), p.y()))
    for (auto& [id, cursor] : cursors_) cursor->OnButtonUp(p.x(), p.y());
  update();  // takes the rectangle off
  Notify(ChartMouseEvent::LButtonUp, p);
}

void CChartCtrl::Zoom() {
  if (zoomEnd_.x() < zoomStart_.x() || zoomEnd_.y() < zoomStart_.y()) {
    ResetZoom();  // dragged leftwards or upwards
    return;
  }
  if (zoomEnd_.x() == zoomStart_.x() || zoomEnd_.y() == zoomStart_.y()) return;
  for (auto& axis : axes_) {
    if (!axis) continue;
    double a, b;
    if (axis->IsHorizontal()) {
      a = axis->PixelToValue(zoomStart_.x());
      b = axis->PixelToValue(zoomEnd_.x());
    } else {
      a = axis->PixelToValue(zoomEnd_.y());
      b = axis->PixelToValue(zoomStart_.y());
    }
    if (axis->IsInverted())
      axis->SetZoomRange(b, a);
    else
      axis->SetZoomRange(a, b);
  }
  Redraw();
}

void CChartCtrl::OnRightDown(QPoint p) {
  rightDown_ = true;
  if (panEnabled_) lastPan_ = p;
  Notify(ChartMouseEvent::RButtonDown, p);
}

void CChartCtrl::OnRightUp(QPoint p) {
  rightDown_ = false;
  Notify(ChartMouseEvent::RButtonUp, p);
}

void CChartCtrl::Pan(QPoint p) {
  EnableRedraw(false);
  for (auto& axis : axes_) {
    if (!axis) continue;
    if (axis->IsHorizontal())
      axis->PanAxis(lastPan_.x(), p.x());
    else
      axis->PanAxis(lastPan_.y(), p.y());
  }
  Redraw();
  EnableRedraw(true);
  repaint();
  lastPan_ = p;
}

namespace {

qint64 RegionArea(const QRegion& region) {
  qint64 area = 0;
  for (const QRect& r : region) area += qint64(r.width()) * r.height();
  return area;
}

}  // namespace

void CChartCtrl::OnMove(QPoint p) {
  RenderedImage();
  UpdateReadout(p);
  if (rightDown_ && panEnabled_ && p != lastPan_) Pan(p);
  if (zoomDragging_) {
    zoomEnd_ = p;
    update();
  }
  const bool inPlot = plottingRect_.Contains(p.x(), p.y());
  if (inPlot) {
    for (auto& [id, cursor] : cursors_) cursor->OnMouseMove(p.x(), p.y());
    // Only the cursors' old and new places change: repainting the whole
    // chart for every move would cost a full-size copy each time. Near
    // places go as one rectangle: Qt copies a picture under a clip of several
    // pieces row by row and hands the rows to worker threads, which costs a
    // move more than the few extra columns.
    const QRegion changed = paintedCursors_ + CursorArea();
    const QRect around = changed.boundingRect();
    constexpr qint64 kSpareFactor = 8;
    const bool near = qint64(around.width()) * around.height() <= kSpareFactor * RegionArea(changed);
    if (near)
      update(around);
    else
      update(changed);
  }
  const Qt::CursorShape shape = !showSystemCursor_ && inPlot ? Qt::BlankCursor : Qt::ArrowCursor;
  // Each call is a round trip to the window system.
  if (!testAttribute(Qt::WA_SetCursor) || cursor().shape() != shape) setCursor(shape);
  Notify(ChartMouseEvent::Move, p);
}

void CChartCtrl::Notify(ChartMouseEvent event, QPoint p) {
  if (mouseListener_) {
    if (titleRect_.Contains(p.x(), p.y())) mouseListener_->OnMouseEventTitle(event, p);
    if (legend_.BoxRect().Contains(p.x(), p.y())) mouseListener_->OnMouseEventLegend(event, p);
    if (plottingRect_.Contains(p.x(), p.y())) mouseListener_->OnMouseEventPlotArea(event, p);
    for (auto& axis : axes_)
      if (axis && axis->AxisRect().Contains(p.x(), p.y())) mouseListener_->OnMouseEventAxis(event, p, axis.get());
  }
  for (auto it = series_.rbegin(); it != series_.rend(); ++it)
    if (it->second->OnMouseEvent(event, p)) break;
}

void CChartCtrl::UpdateReadout(QPoint p) {
  const CChartAxis* timeAxis = axes_[kBottomAxis].get();
  if (!timeAxis) return;
  // The time under the mouse comes from the time axis' own pixels, so it
  // matches the curve under the cross-hair at any window size.
  const double t = ReadoutTime(timeAxis->GetMin(), timeAxis->GetMax(), timeAxis->GetTitle()->GetText(), p.x(),
                               timeAxis->StartPixel(), timeAxis->EndPixel());
  std::vector<ReadoutCurve> curves;
  bool hasSpeed = false;
  for (auto& [id, serie] : series_) {
    const auto* xy = dynamic_cast<const CChartXYSerie*>(serie.get());
    if (!xy) continue;
    curves.push_back({xy->GetName(), xy->IsShown(), &xy->GetPoints()});
    hasSpeed = hasSpeed || xy->GetName() == "RP";
  }
  const CChartAxis* pcAxis = nullptr;
  CChartAxis* speedAxis = nullptr;
  for (auto& axis : axes_) {
    if (!axis) continue;
    if (axis->Key == "PC" && !pcAxis) pcAxis = axis.get();
    if (axis->Key == "RP" && !speedAxis) speedAxis = axis.get();
  }
  if (hasSpeed && readout_.requestedPoles != readout_.appliedPoles && readout_.requestedPoles > 0 &&
      LocateReadout(t, curves).overData) {
    if (speedAxis) RescaleKeepingZoom(*speedAxis, 0.0, readout_.speedFullScale / (readout_.requestedPoles * 0.25));
    readout_.appliedPoles = readout_.requestedPoles;
  }
  const ReadoutTexts texts = ComputeReadout(t, curves, readout_, pcAxis && pcAxis->IsShown());
  for (int i = 0; i < kReadoutStaticCount; ++i) {
    if (!texts[i]) continue;
    // A move changes a few of the texts; the labels keep the others.
    if (*texts[i] == readoutTexts_[i] && labelCurrent_[i]) continue;
    readoutTexts_[i] = *texts[i];
    labelCurrent_[i] = readoutLabels_[i] != nullptr;
    if (readoutLabels_[i]) readoutLabels_[i]->setText(ChartText(*texts[i]));
  }
}

}  // namespace orx
