#include "chart/ChartAxis.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "chart/AxisSlots.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartSerie.h"

namespace orx {

namespace {
// A range so wide for its step that ticks cannot all be drawn still ends.
constexpr int kMaxTicks = 10000;
}  // namespace

CChartAxis::CChartAxis(CChartCtrl* parent, int slot)
    : parent_(parent),
      slot_(slot),
      horizontal_(IsHorizontalSlot(slot)),
      secondary_(IsSecondarySlot(slot)),
      title_(parent, IsHorizontalSlot(slot)),
      grid_(parent, IsHorizontalSlot(slot)) {
  if (parent_) scrollBar_ = new CChartScrollBar(this, parent_);
}

CChartAxis::~CChartAxis() {
  for (CChartSerie* serie : series_) serie->DetachAxis(this);
  delete scrollBar_;
}

void CChartAxis::Redraw() {
  if (parent_) parent_->Redraw();
}

AxisScale CChartAxis::Scale() const { return {min_, max_, start_, end_, horizontal_, inverted_}; }

void CChartAxis::SetDiscrete(bool discrete) {
  discrete_ = discrete;
  Redraw();
}

double CChartAxis::PixelToValue(int pixel) const { return orx::PixelToValue(Scale(), pixel); }

int CChartAxis::ValueToPixelLinear(double value) const { return orx::ValueToPixelLinear(Scale(), value); }

int CChartAxis::ValueToPixel(double value) const {
  if (max_ == min_) return AxisMiddlePixel(Scale());
  if (discrete_) return ValueToPixelDiscrete(value);
  return ValueToPixelLinear(value);
}

bool CChartAxis::IsValueVisible(double value) const { return IsPixelOnAxis(Scale(), ValueToPixel(value)); }

void CChartAxis::SetRange(double min, double max) {
  min_ = undoMin_ = min;
  max_ = undoMax_ = max;
  UpdateScrollBar();
  Redraw();
}

void CChartAxis::SetZoomRange(double min, double max) {
  if (!zoomAllowed_ || max_ == min_) return;
  const Range r = LimitZoomSpan(min, max, zoomLimit_);
  min_ = r.min;
  max_ = r.max;
  UpdateScrollBar();
}

void CChartAxis::ResetZoom() { SetRange(undoMin_, undoMax_); }

void CChartAxis::SetRangeMode(AxisRangeMode mode) {
  rangeMode_ = mode;
  if (mode != AxisRangeMode::Fixed) min_ = max_ = 0.0;
  RefreshAutomaticRange();
}

bool CChartAxis::SeriesRange(double* min, double* max) const {
  bool any = false;
  for (const CChartSerie* serie : series_) {
    double lo = 0.0, hi = 0.0;
    bool ok;
    if (rangeMode_ == AxisRangeMode::AutomaticVisible)
      ok = horizontal_ ? serie->VisibleXRange(&lo, &hi) : serie->VisibleYRange(&lo, &hi);
    else
      ok = horizontal_ ? serie->XRange(&lo, &hi) : serie->YRange(&lo, &hi);
    if (!ok) continue;
    if (!any || lo < *min) *min = lo;
    if (!any || hi > *max) *max = hi;
    any = true;
  }
  return any;
}

bool CChartAxis::RefreshAutomaticRange() {
  if (rangeMode_ == AxisRangeMode::Fixed) return false;
  double lo = 0.0, hi = 0.0;
  if (!SeriesRange(&lo, &hi)) lo = hi = 0.0;
  if (lo == min_ && hi == max_) return false;
  SetRange(lo, hi);
  return true;
}

void CChartAxis::SetShown(bool shown) {
  shown_ = shown;
  Redraw();
}

void CChartAxis::SetTickTextColor(QColor colour) {
  tickTextColour_ = colour;
  Redraw();
}

void CChartAxis::SetLineColor(QColor colour) {
  lineColour_ = colour;
  Redraw();
}

void CChartAxis::SetInverted(bool inverted) {
  inverted_ = inverted;
  UpdateScrollBar();
  Redraw();
}

void CChartAxis::SetTickStep(bool automatic, double step) {
  automaticStep_ = automatic;
  if (!automatic) ApplyManualStep(step);
  Redraw();
}

void CChartAxis::SetMarginSize(bool automatic, int pixels) {
  automaticMargin_ = automatic;
  marginSize_ = pixels;
  Redraw();
}

void CChartAxis::SetTickFont(int tenthsOfPoint, const std::string& face) {
  tickFontTenths_ = tenthsOfPoint;
  tickFontFace_ = face;
  Redraw();
}

void CChartAxis::EnableScrollBar(bool enabled) {
  if (scrollBar_) scrollBar_->SetEnabled(enabled);
}

void CChartAxis::UpdateScrollBar() {
  if (scrollBar_) scrollBar_->Refresh();
}

void CChartAxis::RegisterSeries(CChartSerie* serie) {
  if (std::find(series_.begin(), series_.end(), serie) == series_.end()) series_.push_back(serie);
}

void CChartAxis::UnregisterSeries(CChartSerie* serie) { std::erase(series_, serie); }

void CChartAxis::PanAxis(int fromPixel, int toPixel) {
  const double shift = PixelToValue(fromPixel) - PixelToValue(toPixel);
  SetZoomRange(min_ + shift, max_ + shift);
}

void CChartAxis::ScrollSteps(int* count, int* position) const {
  double lo = 0.0, hi = 0.0;
  bool ok = false;
  for (const CChartSerie* serie : series_) {
    double a = 0.0, b = 0.0;
    if (!(horizontal_ ? serie->XRange(&a, &b) : serie->YRange(&a, &b))) continue;
    if (!ok || a < lo) lo = a;
    if (!ok || b > hi) hi = b;
    ok = true;
  }
  const double span = hi - lo;
  const double page = (max_ - min_) / 10.0;
  if (!ok || span <= 0.0 || page <= 0.0) {
    *count = 1;
    *position = 1;
    return;
  }
  const double n = std::ceil(span / page);
  const int steps = static_cast<int>(std::min(n, 1.0e6));
  int pos = static_cast<int>(std::clamp((min_ - lo) / span * steps, 0.0, static_cast<double>(steps)));
  if (inverted_) pos = std::max(0, steps - pos - 10);
  *count = steps;
  *position = pos;
}

void CChartAxis::ScrollBy(int oldPosition, int newPosition, bool reverse) {
  double shift = (newPosition - oldPosition) * (max_ - min_) / 10.0;
  if (reverse) shift = -shift;
  min_ += shift;
  max_ += shift;
  if (parent_) parent_->RefreshVisibleAxes();
}

void CChartAxis::SetAxisSize(const ChartRect& chart, const ChartRect& plot) {
  axisRect_ = AxisBand(slot_, chart, plot);
  const AxisEnds ends = AxisEndsFor(slot_, plot);
  start_ = ends.start;
  end_ = ends.end;
}

PreparedTexts& CChartAxis::TickTexts() const {
  ChartFontInfo font;
  font.tenthsOfPoint = tickFontTenths_;
  font.face = tickFontFace_;
  tickTexts_.UseFont(font);
  return tickTexts_;
}

const std::vector<CChartAxis::Tick>& CChartAxis::Ticks() const {
  PreparedTexts& texts = TickTexts();
  const TickKey key{min_, max_, FirstTickValue(), TickStepValue(), LabelDecimals(), texts.FontInfo()};
  if (ticksMade_ && key == ticksKey_) return ticks_;
  ticksKey_ = key;
  ticksMade_ = true;
  ticks_.clear();
  auto add = [&](double v) { ticks_.push_back({v, texts.Get(TickLabel(v))}); };
  if (max_ == min_) {
    add(min_);
    return ticks_;
  }
  double v = FirstTickValue();
  int n = 0;
  do {
    add(v);
  } while (++n < kMaxTicks && NextTickValue(v, &v));
  return ticks_;
}

ChartSize CChartAxis::LargestTickLabel() const {
  ChartSize largest;
  for (const Tick& tick : Ticks()) {
    if (max_ != min_ && !IsValueVisible(tick.value)) continue;
    largest.width = std::max(largest.width, tick.label.width);
    largest.height = tickTexts_.Height();
  }
  return largest;
}

AxisMeasure CChartAxis::Measure() const { return {slot_, LargestTickLabel(), title_.Measure()}; }

int CChartAxis::ResolveMargin(const AxisMeasure& measure) {
  if (automaticMargin_) marginSize_ = AutomaticMargin(measure);
  return marginSize_;
}

void CChartAxis::DrawTickMark(QPainter& painter, double value, int lineX) {
  const int tp = TickPixel(value);
  const bool markOnAxis = horizontal_ ? (start_ <= tp && tp <= end_) : (end_ <= tp && tp <= start_);
  if (!markOnAxis || (horizontal_ && secondary_)) return;  // the top axis carries no ticks
  if (horizontal_)
    painter.drawLine(tp, axisRect_.top + 1, tp, axisRect_.top + 3);
  else
    painter.drawLine(lineX, tp, lineX + 2 * (secondary_ ? 1 : -1), tp);
}

void CChartAxis::DrawTickLabel(QPainter& painter, const Tick& tick, int labelX) {
  if ((horizontal_ && secondary_) || !IsValueVisible(tick.value)) return;
  const int vp = ValueToPixel(tick.value);
  const int w = tick.label.width;
  const int h = tickTexts_.Height();
  const QPoint labelAt = horizontal_ ? QPoint(vp - w / 2, axisRect_.top + 5) : QPoint(labelX, vp - h / 2);
  const QRect box(labelAt, QSize(w, h));
  painter.fillRect(box, painter.background());
  PreparedTexts::Draw(painter, labelAt, tick.label, box.size());
}

void CChartAxis::Draw(QPainter& painter, int leftLabelShift, int rightLabelShift, QColor labelBackground) {
  if (!shown_) return;
  painter.save();
  painter.setFont(TickTexts().Font());
  painter.setBackground(labelBackground);
  painter.setBackgroundMode(Qt::TransparentMode);
  const ChartSize titleSize = title_.Measure();
  const ChartSize tickSize = LargestTickLabel();

  // Axis line.
  const VerticalSlotOffsets offsets = VerticalOffsets(slot_);
  const int lineX = secondary_ ? axisRect_.left + offsets.line : axisRect_.right - offsets.line;
  const int labelX =
      secondary_ ? axisRect_.left + offsets.tickLabel : axisRect_.right + titleSize.width + offsets.tickLabel;
  painter.setPen(QPen(lineColour_, 0));
  if (!horizontal_)
    painter.drawLine(lineX, start_, lineX, end_);
  else if (!secondary_)
    painter.drawLine(start_, axisRect_.top + 1, end_, axisRect_.top + 1);
  else
    painter.drawLine(start_, axisRect_.bottom - 1, end_, axisRect_.bottom - 1);

  // Title placement and text.
  const int mid = static_cast<int>(std::fabs((start_ + end_) * 0.5));
  int x, y;
  if (horizontal_) {
    x = mid - titleSize.width / 2;
    y = secondary_ ? axisRect_.top : axisRect_.top + tickSize.height + 2;
  } else {
    x = secondary_ ? axisRect_.right - titleSize.width - 2 : axisRect_.left;
    y = mid + titleSize.height / 2;
  }
  x += TitleShift(slot_);
  title_.position = {x, y, x + titleSize.width, y + titleSize.height};
  if (title_.IsShown() && !title_.GetText().empty()) {
    const ChartRect& t = title_.position;
    QPoint at;
    if (slot_ == kBottomAxis)
      at = QPoint(t.left - 100, t.top + 10);
    else if (slot_ == kTopAxis)
      at = QPoint(leftLabelShift + t.right + 135, t.top);
    else if (secondary_)
      at = QPoint(rightLabelShift + t.left + offsets.titleText, t.top);
    else
      at = QPoint(leftLabelShift + t.right + offsets.titleText, t.top);
    painter.save();
    painter.setPen(title_.GetColor());
    PreparedTexts& texts = title_.Prepared();
    const PreparedText& text = texts.Get(title_.GetText());
    painter.setFont(texts.Font());
    // The fixed offsets assume labels of a usual width; wider ones (after a
    // zoom: "1650", "12.5") would be drawn over the title, so it stands clear
    // of the widest label of its axis. A rotated title covers its text height.
    if (!horizontal_) {
      if (secondary_)
        at.setX(std::max(at.x(), labelX + tickSize.width + 2));
      else
        at.setX(std::min(at.x(), labelX - texts.Height() - 2));
    }
    painter.translate(at);
    if (!horizontal_) painter.rotate(-90);  // reads bottom to top
    PreparedTexts::Draw(painter, QPoint(0, 0), text, QSize(text.width + 1, texts.Height()));
    painter.restore();
  }

  // Tick marks and the grid's tick list, then the labels: each in one pen.
  painter.setPen(QPen(lineColour_, 0));
  grid_.ClearTicks();
  for (const Tick& tick : Ticks()) {
    DrawTickMark(painter, tick.value, lineX);
    grid_.AddTick(TickPixel(tick.value));
  }
  painter.setPen(tickTextColour_);
  for (const Tick& tick : Ticks()) DrawTickLabel(painter, tick, labelX);
  painter.restore();
  grid_.Draw(painter, parent_ ? parent_->GetPlottingRect() : ChartRect{});
}

void CChartAxis::PlaceScrollBar() {
  if (!scrollBar_) return;
  constexpr int kThickness = 16;
  const ChartRect& r = axisRect_;
  QRect place;
  if (horizontal_)
    place = QRect(start_, secondary_ ? r.top : r.bottom - kThickness, end_ - start_, kThickness);
  else
    place = QRect(secondary_ ? r.right - kThickness : r.left, end_, kThickness, start_ - end_);
  scrollBar_->setGeometry(place);
}

// --- CChartStandardAxis ---

double CChartStandardAxis::FirstTickValue() const {
  return IsDiscrete() ? firstTick_ - tickStep_ : firstTick_;
}

bool CChartStandardAxis::NextTickValue(double current, double* next) const {
  return NextTick(current, tickStep_, GetMax(), next);
}

int CChartStandardAxis::TickPixel(double value) const { return orx::ValueToPixelLinear(Scale(), value); }

int CChartStandardAxis::ValueToPixelDiscrete(double value) const {
  return orx::ValueToPixelDiscrete(Scale(), tickStep_, value);
}

std::string CChartStandardAxis::TickLabel(double value) const { return TickLabelText(value, decimals_); }

void CChartStandardAxis::RefreshTickStep() {
  if (!automaticStep_) return;
  const TickStep step = AutomaticTickStep(Scale());
  tickStep_ = step.step;
  decimals_ = step.decimals;
}

void CChartStandardAxis::RefreshFirstTick() { firstTick_ = FirstTick(GetMin(), tickStep_); }

void CChartStandardAxis::ApplyManualStep(double step) {
  tickStep_ = std::isfinite(step) ? std::fabs(step) : 0.0;
  decimals_ = 0;
  if (tickStep_ > 0.0) {
    const int e = static_cast<int>(std::floor(std::log10(tickStep_)));
    decimals_ = e < 0 ? std::min(-e, 15) : 0;
  }
}

}  // namespace orx
