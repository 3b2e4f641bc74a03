// "Graph Options": which quantities are shown, on which side of the plot
// their axes stand, and their colours. Works on the chart directly on OK.
#pragma once

#include <QDialog>
#include <array>
#include <string>

class QCheckBox;

namespace orx {
class CChartCtrl;
class CColourPicker;
}  // namespace orx

namespace orx::graph {

struct OptionRow {
  const char* label;
  const char* key;
  int left;
  int right;
  int colour;
};
// In the order of the dialog's rows.
extern const std::array<OptionRow, 8> kOptionRows;

class GraphOptions : public QDialog {
  Q_OBJECT
 public:
  explicit GraphOptions(CChartCtrl& chart, QWidget* parent = nullptr);

  QCheckBox* leftBox(const std::string& key) const;
  QCheckBox* rightBox(const std::string& key) const;
  CColourPicker* picker(const std::string& key) const;
  int leftCount() const { return leftCount_; }
  int rightCount() const { return rightCount_; }

  // The box has already toggled when these run (automatic check boxes).
  void onLeftClicked(const std::string& key);
  void onRightClicked(const std::string& key);
  void onOk();

 private:
  int rowOf(const std::string& key) const;
  void leftLimitRule();
  void rightLimitRule();
  void lastLeftRule();
  void unlockRightBox();

  CChartCtrl& chart_;
  std::array<QCheckBox*, 8> left_{};
  std::array<QCheckBox*, 8> right_{};
  std::array<CColourPicker*, 8> pickers_{};
  int leftCount_ = 0;
  int rightCount_ = 0;
  int lockedRight_ = -1;  // row whose right box the last-left rule disabled
};

}  // namespace orx::graph
