#include "graph/GraphChangeUnits.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>

#include "base/Format.h"
#include "chart/ChartCtrl.h"
#include "datalog/LogUnits.h"
#include "dialogs/DialogButtons.h"
#include "graph/GraphAxes.h"

namespace orx::graph {

namespace {

struct UnitRow {
  const char* label;
  const char* key;
  std::vector<std::pair<int, const char*>> boxes;
};

const std::vector<UnitRow>& unitRows() {
  static const std::vector<UnitRow> rows = {
      {"Temperature:", "TE", {{1045, "Fahrenheit"}, {1101, "Celsius"}}},
      {"Time:", "TM", {{1046, "Seconds (s)"}, {1047, "Minutes (m)"}}},
      {"Power:", "DP", {{1051, "Watts (W)"}, {1052, "Horsepower (hp)"}}},
      {"Capacity:", "PC", {{1048, "Amp Hours (Ah)"}, {1049, "Milliamp Hours (mAh)"}, {1050, "Watt Hours (Wh)"}}},
  };
  return rows;
}

void setAxis(CChartAxis* axis, double min, double max, const char* title) {
  if (!axis) return;
  axis->SetRange(min, max);
  axis->GetTitle()->SetText(title);
}

}  // namespace

GraphChangeUnits::GraphChangeUnits(CChartCtrl& chart, QWidget* parent) : QDialog(parent), chart_(chart) {
  setWindowTitle("Change Units");
  setObjectName("158");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Please select which units to change to:", this));
  auto* grid = new QGridLayout();
  int r = 0;
  for (const UnitRow& row : unitRows()) {
    grid->addWidget(new QLabel(row.label, this), r, 0);
    int c = 1;
    for (const auto& [id, text] : row.boxes) {
      auto* box = new QCheckBox(text, this);
      box->setObjectName(QString::number(id));
      boxes_[id] = box;
      grid->addWidget(box, r, c++);
      connect(box, &QCheckBox::clicked, this, [this, id = id] { onBox(id); });
    }
    ++r;
  }
  layout->addLayout(grid);
  addOkCancel(*this, *layout, [this] { onOk(); });

  // The current units are read from the axis titles.
  for (int slot = 0; slot < kAxisSlotCount; ++slot) {
    const CChartAxis* axis = chart_.GetAxis(slot);
    if (!axis) continue;
    const std::string& title = axis->GetTitle()->GetText();
    std::vector<int> row;
    if (axis->Key == "TE") {
      boxes_[title == "Temperature (\xB0" "C)" ? 1101 : 1045]->setChecked(true);
      row = {1045, 1101};
    } else if (axis->Key == "TM") {
      boxes_[title == "Time (s)" ? 1046 : 1047]->setChecked(true);
      row = {1046, 1047};
    } else if (axis->Key == "DP") {
      boxes_[title == "Motor Drive Power (W)" ? 1051 : 1052]->setChecked(true);
      row = {1051, 1052};
    } else if (axis->Key == "PC") {
      if (title == "Power Consumption (Ah)") boxes_[1048]->setChecked(true);
      if (title == "Power Consumption (mAh)") boxes_[1049]->setChecked(true);
      if (title == "Power Consumption (Wh)") boxes_[1050]->setChecked(true);
      row = {1048, 1049, 1050};
    }
    if (!axis->IsShown())
      for (int id : row) boxes_[id]->setEnabled(false);
  }
}

void GraphChangeUnits::onBox(int id) {
  for (const UnitRow& row : unitRows()) {
    bool inRow = false;
    for (const auto& b : row.boxes) inRow = inRow || b.first == id;
    if (!inRow) continue;
    for (const auto& b : row.boxes) boxes_[b.first]->setChecked(b.first == id);
  }
}

void GraphChangeUnits::onOk() {
  ChartReadoutBlock& block = chart_.Readout();
  // The axes below get their full ranges; every other axis, the hidden one
  // that carries the curves included, must too, or the curves would stay
  // zoomed against a scale that is not.
  chart_.ResetZoom();
  if (boxes_[1045]->isChecked()) {
    block.fahrenheit = true;
    setAxis(axisOfKey(chart_, "TE"), 0, 210, "Temperature (\xB0" "F)");
  } else if (block.fahrenheit) {
    block.fahrenheit = false;
    setAxis(axisOfKey(chart_, "TE"), -17.7, 98.8, "Temperature (\xB0" "C)");
  }
  if (boxes_[1046]->isChecked()) {
    block.seconds = true;
    setAxis(chart_.GetAxis(kBottomAxis), 0, block.timeFullScale, "Time (s)");
  } else if (block.seconds) {
    block.seconds = false;
    setAxis(chart_.GetAxis(kBottomAxis), 0, block.timeFullScale / 60, "Time (min)");
  }
  if (boxes_[1051]->isChecked()) {
    block.watts = true;
    setAxis(axisOfKey(chart_, "DP"), 0, block.powerFullScale, "Motor Drive Power (W)");
  } else if (block.watts) {
    block.watts = false;
    setAxis(axisOfKey(chart_, "DP"), 0, block.powerFullScale * 0.00134, "Motor Drive Power (hp)");
  }
  CChartAxis* pc = axisOfKey(chart_, "PC");
  if (pc && pc->IsShown()) {
    auto showSeries = [this](bool pcShown) {
      if (CChartSerie* s = chart_.FindSerie("PC")) s->SetShown(pcShown);
      if (CChartSerie* s = chart_.FindSerie("WA")) s->SetShown(!pcShown);
    };
    if (boxes_[1048]->isChecked()) {
      block.capacityUnit = 0;
      setAxis(pc, 0, block.consumptionFullScale, "Power Consumption (Ah)");
      showSeries(true);
    } else if (boxes_[1049]->isChecked()) {
      block.capacityUnit = 1;
      setAxis(pc, 0, block.consumptionFullScale * 1000, "Power Consumption (mAh)");
      showSeries(true);
    } else if (boxes_[1050]->isChecked()) {
      block.capacityUnit = 2;
      setAxis(pc, 0, block.energyFullScale, "Power Consumption (Wh)");
      showSeries(false);
    }
  }
  chart_.Redraw();
  accept();
}

// --- RPM Setup ---

GraphChangeRpm::GraphChangeRpm(CChartCtrl& chart, QWidget* parent) : QDialog(parent), chart_(chart) {
  setWindowTitle("RPM Setup");
  setObjectName("159");
  ChartReadoutBlock& block = chart_.Readout();
  block.requestedPoles = block.appliedPoles;
  requested_ = block.requestedPoles;
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(
      "For the graph to correctly calculate RPM please specify the kV of the Motor and the number of Magnetic "
      "Poles",
      this);
  intro->setWordWrap(true);
  layout->addWidget(intro);
  auto* hint = new QLabel(
      "To determine the number of magnetic poles in your motor, check the motor's documentation. This number "
      "represents the number of magnets around the outside shell of the motor.",
      this);
  hint->setWordWrap(true);
  layout->addWidget(hint);
  auto* row = new QHBoxLayout();
  row->addWidget(new QLabel("Magnetic Poles in Motor:", this));
  edit_ = new QLineEdit(QString::number(block.requestedPoles), this);
  edit_->setObjectName("1088");
  row->addWidget(edit_);
  auto* upDown = new QWidget(this);
  upDown->setObjectName("1104");
  auto* arrows = new QVBoxLayout(upDown);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  auto* up = new QToolButton(upDown);
  up->setArrowType(Qt::UpArrow);
  auto* down = new QToolButton(upDown);
  down->setArrowType(Qt::DownArrow);
  arrows->addWidget(up);
  arrows->addWidget(down);
  connect(up, &QToolButton::clicked, this, [this] { onUpDown(1); });
  connect(down, &QToolButton::clicked, this, [this] { onUpDown(-1); });
  row->addWidget(upDown);
  layout->addLayout(row);
  addOkCancel(*this, *layout, [this] { onOk(); });
  resize(420, 200);
}

void GraphChangeRpm::onUpDown(int change) {
  // Kept in the dialog until OK, so that Cancel leaves the chart as it was.
  requested_ = std::clamp((position_ + change) * 2, 2, 48);
  position_ = std::clamp(position_ + change, 0, 48);
  edit_->setText(QString::number(requested_));
}

void GraphChangeRpm::onOk() {
  ChartReadoutBlock& block = chart_.Readout();
  const std::string text = edit_->text().toStdString();
  long typed = 0;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && typed < 100000; ++i)
    typed = typed * 10 + (text[i] - '0');
  // The read-out divides by the count: a motor has at least two poles.
  const int poles = static_cast<int>(std::max(2L, typed));
  if (poles != requested_) requested_ = poles;
  block.requestedPoles = requested_;
  if (CChartAxis* speed = axisOfKey(chart_, "RP"))
    speed->GetTitle()->SetText(strprintf("RPM (%d)num poles", block.requestedPoles));
  chart_.Redraw();
  accept();
}

}  // namespace orx::graph
