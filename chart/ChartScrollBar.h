// The scroll bar along one axis (hidden unless the host enables it): scrolls
// the axis by a tenth of its span per step.
#pragma once

#include <QScrollBar>

namespace orx {

class CChartAxis;
class CChartCtrl;

class CChartScrollBar : public QScrollBar {
  Q_OBJECT
 public:
  CChartScrollBar(CChartAxis* axis, CChartCtrl* parent);

  void SetEnabled(bool enabled);
  bool IsEnabled() const { return enabled_; }
  void SetAutoHide(bool autoHide) { autoHide_ = autoHide; }
  // Range and position from the axis' current range and its series' span.
  void Refresh();

 private:
  void OnValueChanged(int value);

  CChartAxis* axis_;
  CChartCtrl* chart_;
  bool enabled_ = false;
  bool autoHide_ = true;
  bool updating_ = false;
  int position_ = 0;
};

}  // namespace orx
