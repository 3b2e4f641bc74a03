#include "chart/ChartScrollBar.h"

#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"

namespace orx {

CChartScrollBar::CChartScrollBar(CChartAxis* axis, CChartCtrl* parent)
    : QScrollBar(axis->IsHorizontal() ? Qt::Horizontal : Qt::Vertical, parent), axis_(axis), chart_(parent) {
  setObjectName("100");
  setSingleStep(1);
  setPageStep(10);
  hide();
  connect(this, &QScrollBar::valueChanged, this, &CChartScrollBar::OnValueChanged);
}

void CChartScrollBar::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Refresh();
}

void CChartScrollBar::Refresh() {
  int count = 1, position = 0;
  axis_->ScrollSteps(&count, &position);
  updating_ = true;
  // A page of 10 steps is the visible part: positions run up to count - 10.
  setRange(0, std::max(0, count - 10));
  setValue(position);
  position_ = value();
  updating_ = false;
  setVisible(enabled_ && !(autoHide_ && maximum() == 0));
}

void CChartScrollBar::OnValueChanged(int value) {
  if (updating_) return;
  axis_->ScrollBy(position_, value, axis_->IsInverted());
  position_ = value;
  chart_->Redraw();
}

}  // namespace orx
