#include "chart/ChartSerie.h"

#include <atomic>

#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"

namespace orx {

namespace {
std::atomic<unsigned> nextSerieId{0};
}  // namespace

QColor DefaultSerieColor(size_t existing) {
  static const QColor table[10] = {
      {255, 0, 0},   {0, 150, 0},   {0, 0, 255},   {255, 255, 0}, {0, 255, 255},
      {255, 128, 0}, {128, 0, 128}, {128, 128, 0}, {255, 0, 255}, {64, 128, 128},
  };
  return table[existing % 10];
}

CChartSerie::CChartSerie(CChartCtrl* parent, CChartAxis* horizontal, CChartAxis* vertical)
    : parent_(parent), verticalAxis_(vertical), horizontalAxis_(horizontal), id_(nextSerieId++) {
  if (horizontalAxis_) horizontalAxis_->RegisterSeries(this);
  if (verticalAxis_) verticalAxis_->RegisterSeries(this);
}

CChartSerie::~CChartSerie() {
  if (horizontalAxis_) horizontalAxis_->UnregisterSeries(this);
  if (verticalAxis_) verticalAxis_->UnregisterSeries(this);
}

void CChartSerie::DetachAxis(const CChartAxis* axis) {
  if (horizontalAxis_ == axis) horizontalAxis_ = nullptr;
  if (verticalAxis_ == axis) verticalAxis_ = nullptr;
}

void CChartSerie::Redraw() {
  if (parent_) parent_->RedrawCurves();
}

void CChartSerie::RefreshAxes() {
  if (parent_) parent_->EnableRedraw(false);
  if (horizontalAxis_) horizontalAxis_->RefreshAutomaticRange();
  if (verticalAxis_) verticalAxis_->RefreshAutomaticRange();
  Redraw();
  if (parent_) parent_->EnableRedraw(true);
}

void CChartSerie::SetName(const std::string& name) {
  name_ = name;
  Redraw();
}

void CChartSerie::SetColor(QColor colour) {
  colour_ = colour;
  Redraw();
}

void CChartSerie::SetShown(bool shown) {
  shown_ = shown;
  // A hidden series no longer counts towards automatic ranges.
  RefreshAxes();
}

void CChartSerie::SetShadow(bool enabled) {
  shadow_ = enabled;
  Redraw();
}

void CChartSerie::SetShadowColor(QColor colour) {
  shadowColour_ = colour;
  Redraw();
}

void CChartSerie::SetShadowDepth(int depth) {
  shadowDepth_ = depth;
  Redraw();
}

}  // namespace orx
