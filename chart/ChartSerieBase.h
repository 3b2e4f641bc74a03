// What every series kind shares over its point type: the sorted points, their
// ranges, the visible part, point labels and the series mouse listener.
#pragma once

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "chart/ChartAxis.h"
#include "chart/ChartFont.h"
#include "chart/ChartPoints.h"
#include "chart/ChartSerie.h"

namespace orx {

template <typename PointT>
class CChartSerieBase;

template <typename PointT>
class CChartSeriesMouseListener {
 public:
  virtual ~CChartSeriesMouseListener() = default;
  virtual void OnMouseEventSeries(ChartMouseEvent event, QPoint point, CChartSerieBase<PointT>* serie,
                                  unsigned pointIndex) = 0;
};

template <typename PointT>
class CChartSerieBase : public CChartSerie {
 public:
  using CChartSerie::CChartSerie;

  unsigned PointCount() const override { return points_.Count(); }
  const PointT& GetPoint(unsigned index) const { return points_[index]; }
  const std::vector<PointT>& GetPoints() const { return points_.Points(); }

  QPoint PointPixel(unsigned index) const override {
    const PointT& p = points_[index];
    return {horizontalAxis_->ValueToPixel(p.X), verticalAxis_->ValueToPixel(p.Y)};
  }

  bool XRange(double* min, double* max) const override { return shown_ && points_.XBounds(min, max); }
  bool YRange(double* min, double* max) const override { return shown_ && points_.YBounds(min, max); }

  bool VisibleYRange(double* min, double* max) const override {
    if (!shown_ || !horizontalAxis_ || points_.Ordering() != PointOrdering::ByX) return false;
    return ExtremesInView(horizontalAxis_, [](const PointT& p) { return p.Y; }, min, max);
  }
  bool VisibleXRange(double* min, double* max) const override {
    if (!shown_ || !verticalAxis_ || points_.Ordering() != PointOrdering::ByY) return false;
    return ExtremesInView(verticalAxis_, [](const PointT& p) { return p.X; }, min, max);
  }

  // Unordered points are all "visible"; ordered ones are found by binary
  // search against the axis along the ordering. When the view falls between
  // two points, first is the later one and last the earlier one, so widening
  // by one point each way still reaches the segment that crosses the view.
  bool VisiblePointRange(unsigned* first, unsigned* last) const override {
    const unsigned count = points_.Count();
    if (count == 0 || !horizontalAxis_ || !verticalAxis_) return false;
    if (points_.Ordering() == PointOrdering::None) {
      *first = 0;
      *last = count - 1;
      return true;
    }
    const CChartAxis* axis = points_.Ordering() == PointOrdering::ByX ? horizontalAxis_ : verticalAxis_;
    int f = 0, l = 0;
    points_.IndexRange(axis->GetMin(), axis->GetMax(), &f, &l);
    *first = static_cast<unsigned>(std::clamp(f, 0, static_cast<int>(count) - 1));
    *last = static_cast<unsigned>(std::clamp(l, 0, static_cast<int>(count) - 1));
    return true;
  }

  void SetOrdering(int ordering) override {
    points_.SetOrdering(static_cast<PointOrdering>(std::clamp(ordering, 0, 2)));
    RefreshAxes();
  }

  void SetPointLabel(unsigned index, const std::string& text) {
    labels_[index] = text;
    Redraw();
  }

  void DrawPointLabels(QPainter& painter) override {
    if (!shown_ || labels_.empty()) return;
    painter.save();
    painter.setFont(ChartPointFont(80, "Microsoft Sans Serif"));
    const QFontMetrics metrics(painter.font());
    for (const auto& [index, text] : labels_) {
      if (index >= points_.Count() || !horizontalAxis_ || !verticalAxis_) continue;
      const QPoint at = PointPixel(index);
      const QString label = ChartText(text);
      QRect box(0, 0, metrics.horizontalAdvance(label) + 6, metrics.height() + 4);
      box.moveCenter(QPoint(at.x(), at.y() - box.height()));
      painter.fillRect(box, Qt::white);
      painter.setPen(QPen(colour_, 0));
      painter.drawRect(box);
      painter.drawText(box, Qt::AlignCenter, label);
    }
    painter.restore();
  }

  void SetListener(CChartSeriesMouseListener<PointT>* listener) { listener_ = listener; }

  bool OnMouseEvent(ChartMouseEvent event, QPoint point) override {
    if (!listener_) return false;
    if (event == ChartMouseEvent::Move ? !notifyMove_ : !notifyClick_) return false;
    unsigned index = kNoPoint;
    if (!HitTest(point, &index)) return false;
    listener_->OnMouseEventSeries(event, point, this, index);
    return true;
  }

 protected:
  void ReplacePoints(std::vector<PointT> points) {
    points_.SetPoints(std::move(points));
    lastDrawn_ = 0;
    RefreshAxes();
  }

  // The visible range widened by one point each way; false when nothing to draw.
  bool DrawRange(unsigned* first, unsigned* last) const {
    if (!VisiblePointRange(first, last)) return false;
    if (*first > 0) --*first;
    if (*last + 1 < points_.Count()) ++*last;
    return *first < *last;
  }

  ChartPointArray<PointT> points_;
  unsigned lastDrawn_ = 0;

 private:
  template <typename Get>
  bool ExtremesInView(const CChartAxis* axis, Get get, double* min, double* max) const {
    int f = 0, l = 0;
    if (!points_.IndexRange(axis->GetMin(), axis->GetMax(), &f, &l) || f > l) return false;
    bool any = false;
    for (int i = f; i <= l; ++i) {
      const double v = get(points_[i]);
      if (!std::isfinite(v)) continue;
      if (!any || v < *min) *min = v;
      if (!any || v > *max) *max = v;
      any = true;
    }
    return any;
  }

  std::map<unsigned, std::string> labels_;
  CChartSeriesMouseListener<PointT>* listener_ = nullptr;
};

// A series of X/Y points.
class CChartXYSerie : public CChartSerieBase<SChartXYPoint> {
 public:
  using CChartSerieBase::CChartSerieBase;

  // Replaces every point; they are sorted by the series' ordering. A null
  // array with a non-zero count is taken as no points.
  void SetPoints(const double* xs, const double* ys, unsigned count);
  double GetX(unsigned index) const { return index < points_.Count() ? points_[index].X : 0.0; }
  double GetY(unsigned index) const { return index < points_.Count() ? points_[index].Y : 0.0; }
};

}  // namespace orx
