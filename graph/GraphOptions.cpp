#include "graph/GraphOptions.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "chart/ChartCtrl.h"
#include "dialogs/ColourPicker.h"
#include "dialogs/DialogButtons.h"
#include "graph/AxisSides.h"
#include "graph/GraphAxes.h"

namespace orx::graph {

const std::array<OptionRow, 8> kOptionRows = {{
    {"Drive Voltage:", "IV", 1048, 1056, 1084},
    {"Drive Current (A):", "DC", 1054, 1055, 1087},
    {"Temperature:", "TE", 1100, 1049, 1085},
    {"Drive Power:", "DP", 1059, 1060, 1088},
    {"Input Throttle:", "IT", 1045, 1053, 1086},
    {"Output Throttle:", "OT", 1046, 1051, 1082},
    {"RPM:", "RP", 1047, 1052, 1083},
    {"Power Consumption:", "PC", 1057, 1058, 1089},
}};

namespace {
// The order in which the rules search and OK applies.
const char* const kApplyOrder[] = {"DP", "OT", "IT", "TE", "RP", "IV", "DC", "PC"};
constexpr int kSideLimit = 6;
}  // namespace

GraphOptions::GraphOptions(CChartCtrl& chart, QWidget* parent) : QDialog(parent), chart_(chart) {
  setWindowTitle("Graph Options");
  setObjectName("155");
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(
      "Please choose which graphs you would like displayed below.  You can select which side of the graph to put "
      "them on.",
      this);
  intro->setWordWrap(true);
  layout->addWidget(intro);
  auto* grid = new QGridLayout();
  grid->addWidget(new QLabel("Left Axis", this), 0, 1);
  grid->addWidget(new QLabel("Right Axis", this), 0, 2);
  grid->addWidget(new QLabel("Color", this), 0, 3);
  for (size_t i = 0; i < kOptionRows.size(); ++i) {
    const OptionRow& row = kOptionRows[i];
    const int r = static_cast<int>(i) + 1;
    grid->addWidget(new QLabel(row.label, this), r, 0);
    left_[i] = new QCheckBox(this);
    left_[i]->setObjectName(QString::number(row.left));
    right_[i] = new QCheckBox(this);
    right_[i]->setObjectName(QString::number(row.right));
    pickers_[i] = new CColourPicker(this);
    pickers_[i]->setObjectName(QString::number(row.colour));
    grid->addWidget(left_[i], r, 1, Qt::AlignCenter);
    grid->addWidget(right_[i], r, 2, Qt::AlignCenter);
    grid->addWidget(pickers_[i], r, 3);
    const std::string key = row.key;
    connect(left_[i], &QCheckBox::clicked, this, [this, key] { onLeftClicked(key); });
    connect(right_[i], &QCheckBox::clicked, this, [this, key] { onRightClicked(key); });
    if (const CChartAxis* axis = axisOfKey(chart_, key))
      pickers_[i]->SetColour(FromQColor(axis->GetTitle()->GetColor()));
  }
  layout->addLayout(grid);
  addOkCancel(*this, *layout, [this] { onOk(); });

  leftCount_ = shownOnSide(chart_, Side::Left);
  rightCount_ = shownOnSide(chart_, Side::Right);
  for (const char* key : kApplyOrder) {
    const CChartAxis* axis = axisOfKey(chart_, key);
    if (!axis || !axis->IsShown()) continue;
    const int row = rowOf(key);
    (isSideSlot(Side::Left, axis->Slot()) ? left_ : right_)[row]->setChecked(true);
  }
  leftLimitRule();
  rightLimitRule();
  lastLeftRule();
}

int GraphOptions::rowOf(const std::string& key) const {
  for (size_t i = 0; i < kOptionRows.size(); ++i)
    if (key == kOptionRows[i].key) return static_cast<int>(i);
  return 0;
}

QCheckBox* GraphOptions::leftBox(const std::string& key) const { return left_[rowOf(key)]; }
QCheckBox* GraphOptions::rightBox(const std::string& key) const { return right_[rowOf(key)]; }
CColourPicker* GraphOptions::picker(const std::string& key) const { return pickers_[rowOf(key)]; }

void GraphOptions::leftLimitRule() {
  if (leftCount_ <= 1) return;
  for (QCheckBox* box : left_) box->setEnabled(leftCount_ < kSideLimit);
  unlockRightBox();
}

// The right box that the last-left rule locked is free again once a second
// left curve exists, unless the right side is full.
void GraphOptions::unlockRightBox() {
  if (lockedRight_ < 0 || leftCount_ < 2) return;
  if (rightCount_ < kSideLimit) right_[lockedRight_]->setEnabled(true);
  lockedRight_ = -1;
}

void GraphOptions::rightLimitRule() {
  if (rightCount_ <= 1) return;
  for (QCheckBox* box : right_) box->setEnabled(rightCount_ < kSideLimit);
  // The last left curve's right box stays locked, or the left side could
  // end with no curve at all.
  if (leftCount_ == 1 && lockedRight_ >= 0) right_[lockedRight_]->setEnabled(false);
}

void GraphOptions::lastLeftRule() {
  if (leftCount_ == 1) {
    for (const char* key : kApplyOrder) {
      const int row = rowOf(key);
      if (!left_[row]->isChecked()) continue;
      left_[row]->setEnabled(false);
      right_[row]->setEnabled(false);
      lockedRight_ = row;
      return;
    }
    return;
  }
  if (leftCount_ >= kSideLimit) return;
  for (QCheckBox* box : left_) box->setEnabled(true);
  unlockRightBox();
}

void GraphOptions::onLeftClicked(const std::string& key) {
  const int row = rowOf(key);
  if (left_[row]->isChecked()) {
    ++leftCount_;
    leftLimitRule();
    if (right_[row]->isChecked()) {
      right_[row]->setChecked(false);
      --rightCount_;
      rightLimitRule();
    }
  } else {
    --leftCount_;
    lastLeftRule();
  }
}

void GraphOptions::onRightClicked(const std::string& key) {
  const int row = rowOf(key);
  if (right_[row]->isChecked()) {
    ++rightCount_;
    rightLimitRule();
    if (left_[row]->isChecked()) {
      left_[row]->setChecked(false);
      --leftCount_;
      leftLimitRule();
      lastLeftRule();
    }
  } else {
    --rightCount_;
  }
}

void GraphOptions::onOk() {
  for (size_t i = 0; i < kOptionRows.size(); ++i) {
    CChartAxis* axis = axisOfKey(chart_, kOptionRows[i].key);
    if (!axis) continue;
    const QColor colour = ToQColor(pickers_[i]->GetColour());
    axis->SetLineColor(colour);
    axis->SetTickTextColor(colour);
    axis->GetTitle()->SetColor(colour);
  }
  std::array<bool, 8> wantLeft{}, wantRight{};
  for (size_t i = 0; i < kOptionRows.size(); ++i) {
    wantLeft[i] = left_[i]->isChecked();
    wantRight[i] = right_[i]->isChecked();
  }

  for (const char* key : kApplyOrder) {
    const int row = rowOf(key);
    CChartAxis* axis = axisOfKey(chart_, key);
    if (!axis || wantLeft[row] || wantRight[row]) continue;
    axis->SetShown(false);
    if (const std::optional<Side> side = sideOfSlot(axis->Slot())) compactSide(chart_, *side);
    for (CChartSerie* serie : chart_.Series())
      if (serie->IsShown() && serie->GetName() == key) serie->SetShown(false);
  }
  for (const char* key : kApplyOrder) {
    const int row = rowOf(key);
    if (CChartAxis* axis = axisOfKey(chart_, key); axis && (wantLeft[row] || wantRight[row])) axis->SetShown(true);
  }
  auto leavingFor = [&](bool toRight) {
    return [&, toRight](const std::string& key) {
      for (size_t i = 0; i < kOptionRows.size(); ++i)
        if (key == kOptionRows[i].key) return toRight ? wantLeft[i] : wantRight[i];
      return false;
    };
  };
  for (const char* key : kApplyOrder) {
    const CChartAxis* axis = axisOfKey(chart_, key);
    if (axis && isSideSlot(Side::Left, axis->Slot()) && wantRight[rowOf(key)])
      moveAcross(chart_, axis->Slot(), leavingFor(true));
  }
  for (const char* key : kApplyOrder) {
    const CChartAxis* axis = axisOfKey(chart_, key);
    if (axis && isSideSlot(Side::Right, axis->Slot()) && wantLeft[rowOf(key)])
      moveAcross(chart_, axis->Slot(), leavingFor(false));
  }
  if (hasGap(chart_, Side::Right)) compactSide(chart_, Side::Right);
  if (hasGap(chart_, Side::Left)) compactSide(chart_, Side::Left);

  const int unit = chart_.Readout().capacityUnit;
  for (CChartSerie* serie : chart_.Series()) {
    const std::string& name = serie->GetName();
    const std::string key = name == "WA" ? "PC" : name;
    bool known = false;
    for (const OptionRow& row : kOptionRows) known = known || key == row.key;
    if (!known) continue;
    const CChartAxis* axis = axisOfKey(chart_, key);
    bool shown = axis && axis->IsShown();
    if (name == "PC") shown = shown && unit != 2;
    if (name == "WA") shown = shown && unit == 2;
    serie->SetShown(shown);
    serie->SetColor(ToQColor(pickers_[rowOf(key)]->GetColour()));
  }

  chart_.SetRightAxisSeparator(rightCount_ <= 1);
  chart_.SetLeftLabelShift(50 * shownOnSide(chart_, Side::Left) - 300);
  chart_.SetRightLabelShift(300 - 50 * shownOnSide(chart_, Side::Right));
  chart_.Redraw();
  accept();
}

}  // namespace orx::graph
