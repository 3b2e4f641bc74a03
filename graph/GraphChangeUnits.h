// "Change Units": temperature, time, power and capacity units of the chart.
// Works on the chart directly; the stored curves never change.
#pragma once

#include <QDialog>
#include <map>

class QCheckBox;
class QLineEdit;

namespace orx {
class CChartCtrl;
}

namespace orx::graph {

class GraphChangeUnits : public QDialog {
  Q_OBJECT
 public:
  explicit GraphChangeUnits(CChartCtrl& chart, QWidget* parent = nullptr);

  QCheckBox* box(int id) const { return boxes_.at(id); }
  // A click on a box: it is checked, the others of its row are not.
  void onBox(int id);
  // Applies the checked units and closes with OK.
  void onOk();

 private:
  CChartCtrl& chart_;
  std::map<int, QCheckBox*> boxes_;
};

// "RPM Setup": the motor's number of magnetic poles for the speed axis.
class GraphChangeRpm : public QDialog {
  Q_OBJECT
 public:
  // `chart` holds the read-out block whose pole counts are set.
  GraphChangeRpm(CChartCtrl& chart, QWidget* parent = nullptr);

  QLineEdit* edit() const { return edit_; }
  // An arrow of the up-down control: +1 up, -1 down (position counts pole pairs).
  void onUpDown(int change);
  void onOk();
  int position() const { return position_; }

 private:
  CChartCtrl& chart_;
  QLineEdit* edit_;
  int position_ = 2;
  int requested_ = 4;
};

}  // namespace orx::graph
