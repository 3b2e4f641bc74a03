#include "chart/ChartCtrl.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPaintEvent>
#include <QPalette>
#include <QResizeEvent>
#include <cstring>

#include "chart/ChartLayout.h"
#include "chart/ChartScrollBar.h"
#include "chart/DirectPixels.h"

namespace orx {

CChartCtrl::CChartCtrl(QWidget* parent) : QWidget(parent), legend_(this), title_(this) {
  const QColor face = palette().color(QPalette::Button);
  backColour_ = gradientFirst_ = gradientSecond_ = face;
  setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers everything
  setMouseTracking(true);
}

CChartCtrl::~CChartCtrl() {
  // Series and cursors refer to the axes; they go first.
  cursors_.clear();
  crossHair_ = nullptr;
  series_.clear();
  for (auto& axis : axes_) axis.reset();
}

void CChartCtrl::Create(QWidget* parent, const QRect& rect, int id) {
  setParent(parent);
  setGeometry(rect);
  setObjectName(QString::number(id));
  show();
  Redraw();
}

CChartStandardAxis* CChartCtrl::PutAxis(int slot) {
  auto axis = std::make_unique<CChartStandardAxis>(this, slot);
  CChartStandardAxis* raw = axis.get();
  axes_[slot] = std::move(axis);
  Redraw();
  return raw;
}

CChartStandardAxis* CChartCtrl::CreateAxis(int slot) {
  if (slot < 0 || slot > 3) return nullptr;
  return PutAxis(slot);
}

CChartStandardAxis* CChartCtrl::CreateExtraAxis(int slot) {
  if (slot < 4 || !IsValidAxisSlot(slot)) return nullptr;
  return PutAxis(slot);
}

CChartAxis* CChartCtrl::GetAxis(int slot) const { return IsValidAxisSlot(slot) ? axes_[slot].get() : nullptr; }

CChartLineSerie* CChartCtrl::AddLineSeries(int horizontalSlot, int verticalSlot) {
  CChartAxis* horizontal = GetAxis(horizontalSlot);
  CChartAxis* vertical = GetAxis(verticalSlot);
  if (!horizontal || !vertical) return nullptr;
  EnableRedraw(false);
  auto serie = std::make_unique<CChartLineSerie>(this, horizontal, vertical);
  CChartLineSerie* raw = serie.get();
  raw->SetColor(DefaultSerieColor(series_.size()));
  raw->SetPlottingRect(plottingRect_);
  series_[raw->GetSerieId()] = std::move(serie);
  horizontal->RefreshAutomaticRange();
  vertical->RefreshAutomaticRange();
  Redraw();
  EnableRedraw(true);
  return raw;
}

void CChartCtrl::ClearSeries() {
  series_.clear();
  Redraw();
}

std::vector<CChartSerie*> CChartCtrl::Series() const {
  std::vector<CChartSerie*> list;
  for (const auto& [id, serie] : series_) list.push_back(serie.get());
  return list;
}

CChartSerie* CChartCtrl::FindSerie(const std::string& name) const {
  for (const auto& [id, serie] : series_)
    if (serie->GetName() == name) return serie.get();
  return nullptr;
}

void CChartCtrl::ResetZoom() {
  EnableRedraw(false);
  for (int slot : kResetZoomOrder)
    if (axes_[slot]) axes_[slot]->ResetZoom();
  EnableRedraw(true);
}

void CChartCtrl::EnableRedraw(bool enable) {
  redrawCounter_ += enable ? 1 : -1;
  if (redrawCounter_ > 0 && pendingRedraw_) {
    pendingRedraw_ = false;
    RedrawCurves();  // a held change of the frame has marked it already
  }
}

void CChartCtrl::Redraw() {
  frameStale_ = true;
  RedrawCurves();
}

void CChartCtrl::RedrawCurves() {
  // The legend lists the shown curves by name and takes its room from the
  // plotting area: with it shown, a curve's change moves the frame.
  if (legend_.IsShown()) frameStale_ = true;
  if (redrawCounter_ <= 0) {
    pendingRedraw_ = true;
    return;
  }
  stale_ = true;
  update();  // Qt folds every request until the next paint into one
}

void CChartCtrl::RefreshVisibleAxes() {
  for (auto& axis : axes_)
    if (axis && axis->GetRangeMode() == AxisRangeMode::AutomaticVisible) axis->RefreshAutomaticRange();
}

void CChartCtrl::SetBackColor(QColor colour) {
  backColour_ = colour;
  Redraw();
}

void CChartCtrl::SetBorderColor(QColor colour) {
  borderColour_ = colour;
  Redraw();
}

void CChartCtrl::SetBackGradient(bool enabled, QColor first, QColor second, int type) {
  gradient_ = enabled;
  gradientFirst_ = first;
  gradientSecond_ = second;
  gradientType_ = type;
  Redraw();
}

void CChartCtrl::SetLeftLabelShift(int shift) {
  leftLabelShift_ = shift;
  Redraw();
}

void CChartCtrl::SetRightLabelShift(int shift) {
  rightLabelShift_ = shift;
  Redraw();
}

void CChartCtrl::SetRightAxisSeparator(bool shown) {
  rightAxisSeparator_ = shown;
  Redraw();
}

const QImage& CChartCtrl::RenderedImage() {
  if (stale_ || image_.size() != size()) Render();
  return image_;
}

void CChartCtrl::FillBackground(QPainter& painter, const QRect& rect) const {
  if (!gradient_) {
    painter.fillRect(rect, backColour_);
    return;
  }
  // Type 1 runs top to bottom, any other left to right.
  QLinearGradient g(rect.topLeft(), gradientType_ == 1 ? rect.bottomLeft() : rect.topRight());
  g.setColorAt(0.0, gradientFirst_);
  g.setColorAt(1.0, gradientSecond_);
  painter.fillRect(rect, g);
}

void CChartCtrl::Render() {
  stale_ = false;
  if (image_.size() != size()) {
    image_ = QImage(size(), QImage::Format_RGB32);
    imageHoldsFrame_ = false;
  }
  if (image_.isNull()) return;
  ++renderCount_;
  // Outside the curves' area the picture already holds the frame, unless the
  // frame is new.
  QRect restore = imageHoldsFrame_ ? CurveArea() & image_.rect() : image_.rect();
  if (frameStale_ || frame_.size() != image_.size()) {
    restore = image_.rect();
    frameStale_ = false;
    ++frameRenderCount_;
    if (frame_.size() != image_.size()) frame_ = QImage(image_.size(), QImage::Format_RGB32);
    QPainter painter(&frame_);
    FillBackground(painter, frame_.rect());
    DrawFrame(painter, ChartRect{0, 0, width(), height()}.Deflated(3), leftLabelShift_, rightLabelShift_);
    for (auto& axis : axes_)
      if (axis) axis->PlaceScrollBar();
  }
  // Copied, not shared: a shared picture would be copied anew by the painter.
  uchar* to = image_.bits();
  const uchar* from = frame_.constBits();
  const qsizetype line = image_.bytesPerLine(), offset = restore.left() * 4;
  for (int y = restore.top(); y <= restore.bottom(); ++y)
    std::memcpy(to + y * line + offset, from + y * line + offset, static_cast<size_t>(restore.width()) * 4);
  imageHoldsFrame_ = true;
  QPainter painter(&image_);
  DrawCurves(painter);
}

QRect CChartCtrl::CurveArea() const {
  const ChartRect& p = plottingRect_;
  const ChartRect& l = legend_.BoxRect();
  QRect area(p.left, p.top, p.Width() + 1, p.Height() + 1);  // the curves' clip reaches one pixel further
  if (!l.IsEmpty()) area |= QRect(l.left, l.top, l.Width() + 1, l.Height() + 1);
  return area;
}

void CChartCtrl::DrawChart(QPainter& painter, const ChartRect& chart, int leftLabelShift, int rightLabelShift) {
  DrawFrame(painter, chart, leftLabelShift, rightLabelShift);
  DrawCurves(painter);
}

void CChartCtrl::DrawFrame(QPainter& painter, const ChartRect& chart, int leftLabelShift, int rightLabelShift) {
  ChartRect plot = chart;
  plot.top += title_.Height();
  titleRect_ = {chart.left, chart.top, chart.right, plot.top};
  legend_.Reserve(painter, chart, plot);

  // Margin pass: each axis takes its band in slot order.
  for (auto& axis : axes_) {
    if (!axis) continue;
    axis->SetAxisSize(chart, plot);
    axis->RefreshTickStep();
    axis->RefreshFirstTick();
    const AxisMeasure m = axis->Measure();
    ApplyAxisMargin(plot, chart, m, axis->ResolveMargin(m), leftLabelShift, rightLabelShift);
  }
  plottingRect_ = plot;

  title_.Draw(painter, chart);
  for (auto& axis : axes_) {
    if (!axis) continue;
    axis->SetAxisSize(chart, plot);
    axis->RefreshTickStep();
    axis->RefreshFirstTick();
    axis->Draw(painter, leftLabelShift, rightLabelShift, backColour_);
  }

  painter.setPen(QPen(Qt::black, 0));
  if (rightAxisSeparator_ && axes_[kRightAxis]) {
    const CChartAxis& right = *axes_[kRightAxis];
    const int x = right.AxisRect().right - 1;
    painter.drawLine(x, right.StartPixel(), x, right.EndPixel());
  }

  painter.setPen(QPen(borderColour_, 0));
  painter.drawLine(plot.left, plot.top, plot.right, plot.top);
  painter.drawLine(plot.right, plot.top, plot.right, plot.bottom);
  painter.drawLine(plot.right, plot.bottom, plot.left, plot.bottom);
  painter.drawLine(plot.left, plot.bottom, plot.left, plot.top);
}

void CChartCtrl::DrawCurves(QPainter& painter) {
  const ChartRect& plot = plottingRect_;
  const ChartRect seriesRect{plot.left, plot.top, plot.right + 1, plot.bottom + 1};
  for (auto& [id, serie] : series_) {
    if (!serie->IsShown()) continue;
    serie->SetPlottingRect(seriesRect);
    serie->DrawAll(painter);
  }
  painter.save();
  painter.setClipRect(plot.left, plot.top, plot.Width(), plot.Height());
  for (auto& [id, serie] : series_) serie->DrawPointLabels(painter);
  painter.restore();
  legend_.Draw(painter);
}

void CChartCtrl::paintEvent(QPaintEvent* event) {
  const QImage& picture = RenderedImage();
  QPainter painter(this);
  // A mouse move repaints a strip as tall as the plot a few pixels wide: the
  // painter's set-up per row would cost more than the copy.
  const auto direct = DirectPixels(painter, rect());
  for (const QRect& r : event->region()) {
    if (direct)
      CopyPixels(picture, r, *direct);
    else
      painter.drawImage(r.topLeft(), picture, r);
  }
  if (zoomDragging_ && zoomEnabled_) {
    painter.setPen(QPen(zoomRectColour_, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(zoomStart_, zoomEnd_).normalized());
  }
  for (auto& [id, cursor] : cursors_) {
    bool drawn = direct.has_value();
    for (const QRect& r : event->region()) {
      if (!drawn) break;
      drawn = cursor->DrawPixels(Clipped(*direct, r), direct->shift.x(), direct->shift.y());
    }
    if (!drawn) cursor->Draw(painter);
  }
  paintedCursors_ = CursorArea();
}

QRegion CChartCtrl::CursorArea() const {
  QRegion area;
  for (const auto& [id, cursor] : cursors_) area += cursor->Area();
  return area;
}

void CChartCtrl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->size() == image_.size()) return;  // a repeated event for the same size
  image_ = QImage();
  Redraw();
}

}  // namespace orx
