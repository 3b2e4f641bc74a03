#include "MainWindowLayout.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include "ControlMirror.h"
#include "IndicatorSquare.h"
#include "base/MainWindowControls.h"
#include "base/ControlIds.h"
#include "base/InputRules.h"
#include "resources/Artwork.h"

namespace orx {
namespace {

// Bitmap 142, drawn to the width the layout gives it.
class Banner : public QWidget {
 public:
  explicit Banner(QWidget* parent) : QWidget(parent) { setFixedHeight(64); }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (cache_.size() != size()) cache_ = res::banner(width(), height());
    QPainter(this).drawImage(0, 0, cache_);
  }

 private:
  QImage cache_;
};

QWidget* makeControl(const ControlInfo& info, QWidget* parent) {
  QWidget* w = nullptr;
  switch (info.kind) {
    case ControlKind::Static: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      w = label;
      break;
    }
    case ControlKind::Indicator: w = new IndicatorSquare(parent); break;
    case ControlKind::PushButton: {
      // Enter always means SEND SETTINGS, even while UPDATE FIRMWARE or DEFAULT
      // SETTINGS has the focus: those two must take a deliberate press.
      auto* button = new QPushButton(parent);
      button->setAutoDefault(false);
      w = button;
      break;
    }
    case ControlKind::CheckBox: w = new QCheckBox(parent); break;
    case ControlKind::Radio: {
      auto* radio = new QRadioButton(parent);
      radio->setAutoExclusive(false);  // pairs are kept exclusive by the controller
      w = radio;
      break;
    }
    case ControlKind::DropList: {
      auto* combo = new QComboBox(parent);
      combo->setMinimumContentsLength(11);
      combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
      combo->setMaxVisibleItems(16);
      w = combo;
      break;
    }
    case ControlKind::Edit: w = new QLineEdit(parent); break;
    case ControlKind::ReadOnlyEdit: {
      auto* edit = new QLineEdit(parent);
      edit->setReadOnly(true);
      edit->setFocusPolicy(Qt::NoFocus);
      w = edit;
      break;
    }
    case ControlKind::Progress: {
      auto* bar = new QProgressBar(parent);
      bar->setRange(0, 100);
      bar->setValue(0);
      bar->setTextVisible(false);
      w = bar;
      break;
    }
    case ControlKind::InfoButton: {
      auto* button = new QToolButton(parent);
      button->setAutoRaise(true);
      button->setFocusPolicy(Qt::NoFocus);  // a click must not take the focus from an edit
      button->setIcon(QIcon(QPixmap::fromImage(res::infoBitmap(32))));
      button->setIconSize({18, 18});
      w = button;
      break;
    }
  }
  w->setObjectName(QString::number(info.id));
  return w;
}

QLabel* caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName("caption");
  return label;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch = true) {
  auto* h = new QHBoxLayout;
  h->setContentsMargins(0, 0, 0, 0);
  h->setSpacing(6);
  for (QWidget* w : widgets) h->addWidget(w);
  if (stretch) h->addStretch(1);
  return h;
}

QFormLayout* stackedForm(QGroupBox* box) {
  auto* form = new QFormLayout(box);
  form->setRowWrapPolicy(QFormLayout::WrapAllRows);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  form->setVerticalSpacing(3);
  form->setContentsMargins(9, 6, 9, 9);
  return form;
}

void buildMenu(QDialog& dialog, QVBoxLayout* top, MainWindowWidgets& out) {
  auto* bar = new QMenuBar(&dialog);
  bar->setObjectName("131");
  std::map<QString, QMenu*> menus;
  for (const MenuItem& item : mainWindowMenu()) {
    const QString name = item.menu;
    QMenu*& menu = menus[name];
    if (!menu) menu = bar->addMenu("&" + name);
    if (item.separatorBefore) menu->addSeparator();
    QAction* action = menu->addAction(item.text);
    action->setObjectName(QString::number(item.id));
    action->setData(item.id);
    out.actions[item.id] = action;
  }
  top->setMenuBar(bar);
}

}  // namespace

MainWindowWidgets buildMainWindow(QDialog& dialog) {
  MainWindowWidgets out;
  for (const ControlInfo& info : mainWindowControls()) {
    out.controls[info.id] = makeControl(info, &dialog);
  }
  auto c = [&](int id) { return out.controls.at(id); };

  const QRegularExpression digits(QString("[0-9]{0,%1}").arg(rules::kNumberEditDigits));
  for (int id : rules::kNumberEdits) {
    auto* edit = static_cast<QLineEdit*>(c(id));
    edit->setValidator(new QRegularExpressionValidator(digits, edit));
    edit->setMaximumWidth(64);
  }
  for (int id : {ctl::AdcGain, ctl::AdcOffset}) static_cast<QLineEdit*>(c(id))->setMaximumWidth(64);
  for (int id : {ctl::FirmwareVersion, ctl::McuId, ctl::EscId}) {
    auto* value = static_cast<QLabel*>(c(id));
    value->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    value->setMinimumWidth(110);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  auto* help = static_cast<QLabel*>(c(ctl::HelpText));
  help->setWordWrap(true);
  help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  help->setFixedWidth(236);
  help->setMinimumHeight(150);
  c(ctl::InfoStarting)->setToolTip(kStartingResponseTip);
  c(ctl::InfoRunning)->setToolTip(kRunningResponseTip);
  static_cast<QPushButton*>(c(ctl::SendSettings))->setDefault(true);

  auto* top = new QVBoxLayout(&dialog);
  top->setContentsMargins(0, 0, 0, 8);
  top->setSpacing(8);
  buildMenu(dialog, top, out);
  top->addWidget(new Banner(&dialog));

  auto* body = new QHBoxLayout;
  body->setContentsMargins(10, 0, 10, 0);
  body->setSpacing(10);
  top->addLayout(body);

  // Left: the device and the connection.
  auto* left = new QVBoxLayout;
  body->addLayout(left);
  auto* device = new QGroupBox("DEVICE", &dialog);
  auto* identity = new QFormLayout(device);
  identity->addRow(caption("Device Firmware Version", device), c(ctl::FirmwareVersion));
  identity->addRow(caption("MCU ID", device), c(ctl::McuId));
  identity->addRow(caption("ESC ID", device), c(ctl::EscId));
  identity->addRow(row({c(ctl::UpdateFirmware), c(ctl::RepairMode)}));
  left->addWidget(device);

  auto* connection = new QGroupBox("CONNECTION", &dialog);
  auto* conn = new QVBoxLayout(connection);
  auto* squares = new QGridLayout;
  squares->addWidget(c(ctl::AdapterIndicator), 0, 0);
  squares->addWidget(c(ctl::AdapterStatusLabel), 0, 1);
  squares->addWidget(c(ctl::DeviceIndicator), 1, 0);
  squares->addWidget(c(ctl::DeviceStatusLabel), 1, 1);
  squares->setColumnStretch(1, 1);
  conn->addLayout(squares);
  conn->addSpacing(4);
  conn->addWidget(help);
  conn->addStretch(1);
  left->addWidget(connection, 1);

  // Right: the advanced settings in three groups.
  auto* settings = new QVBoxLayout;
  body->addLayout(settings, 1);
  auto* columns = new QHBoxLayout;
  settings->addLayout(columns);

  auto* motor = new QGroupBox("MOTOR", &dialog);
  auto* m = stackedForm(motor);
  m->addRow(caption("MOTOR EDITION", motor), c(ctl::MotorEdition));
  m->addRow(caption("STARTUP POWER", motor), c(ctl::StartupPower));
  m->addRow(caption("DRIVE FREQUENCY", motor), c(ctl::DriveFrequency));
  m->addRow(caption("ADVANCE TIMING", motor), c(ctl::AdvanceTiming));
  m->addRow(caption("ACCELERATION RATE", motor), c(ctl::Acceleration));
  m->addRow(caption("MOTOR DIRECTION", motor), row({c(ctl::DirectionForward), c(ctl::DirectionReverse)}));
  auto* response = new QGridLayout;
  response->setContentsMargins(0, 0, 0, 0);
  response->setHorizontalSpacing(8);
  response->addWidget(new QLabel("Running", motor), 0, 0);
  response->addWidget(c(ctl::ResponseRunning), 0, 1);
  response->addWidget(c(ctl::InfoRunning), 0, 2);
  response->addWidget(new QLabel("Starting", motor), 1, 0);
  response->addWidget(c(ctl::ResponseStarting), 1, 1);
  response->addWidget(c(ctl::InfoStarting), 1, 2);
  response->setColumnStretch(3, 1);
  m->addRow(caption("THROTTLE RESPONSE", motor), response);
  columns->addWidget(motor);

  auto* throttle = new QGroupBox("THROTTLE && PROTECTION", &dialog);
  auto* t = stackedForm(throttle);
  t->addRow(caption("THROTTLE CALIBRATION MODE", throttle), c(ctl::CalibrationMode));
  auto* range = new QGridLayout;
  range->setContentsMargins(0, 0, 0, 0);
  range->setHorizontalSpacing(8);
  range->addWidget(new QLabel("MIN(LOW)", throttle), 0, 0);
  range->addWidget(c(ctl::RangeMin), 0, 1);
  range->addWidget(new QLabel("MAX(HIGH)", throttle), 1, 0);
  range->addWidget(c(ctl::RangeMax), 1, 1);
  range->setColumnStretch(2, 1);
  t->addRow(caption("THROTTLE CALIBRATION RANGE", throttle), range);
  t->addRow(caption("SYNCHRONOUS RECTIFICATION", throttle),
            row({c(ctl::SyncRectEnabled), c(ctl::SyncRectDisabled)}));
  t->addRow(caption("S.R. BRAKING ACTIVATION", throttle), c(ctl::SrBraking));
  t->addRow(caption("VOLTAGE CUTOFF", throttle), row({c(ctl::CutoffOn), c(ctl::CutoffOff)}));
  t->addRow(c(ctl::CutoffLevel));
  t->addRow(caption("PROPELLER HOLD", throttle), row({c(ctl::PropHoldEnabled), c(ctl::PropHoldDisabled)}));
  t->addRow(caption("STALL PROTECTION", throttle), row({c(ctl::StallEnabled), c(ctl::StallDisabled)}));
  t->addRow(caption("OVERLOAD PROTECTION", throttle), c(ctl::Overload));
  t->addRow(caption("ARMING TONES", throttle), c(ctl::ArmingTones));
  columns->addWidget(throttle);

  auto* can = new QGroupBox("CAN BUS && LOGGING", &dialog);
  auto* b = stackedForm(can);
  b->addRow(caption("CAN BUS NODE ID", can), row({c(ctl::NodeInitial), c(ctl::NodeFixed)}));
  b->addRow(c(ctl::NodeId));
  b->addRow(caption("CAN BUS BAUD", can), c(ctl::CanBaud));
  b->addRow(caption("CAN BUS CONTROL", can), c(ctl::CanControl));
  b->addRow(caption("DRONECAN MOTOR", can), c(ctl::DroneCanMotor));
  b->addRow(caption("DRONECAN POLES", can), c(ctl::DroneCanPoles));
  b->addRow(caption("DATA-LOG SPEED", can), c(ctl::DataLogSpeed));
  b->addRow(caption("ADAPTER", can), c(ctl::Adapter));
  auto* adc = new QGridLayout;
  adc->setContentsMargins(0, 0, 0, 0);
  adc->setHorizontalSpacing(8);
  adc->addWidget(new QLabel("Gain", can), 0, 0);
  adc->addWidget(c(ctl::AdcGain), 0, 1);
  adc->addWidget(new QLabel("Offset", can), 1, 0);
  adc->addWidget(c(ctl::AdcOffset), 1, 1);
  adc->setColumnStretch(2, 1);
  b->addRow(caption("CURRENT ADC", can), adc);
  columns->addWidget(can);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(c(ctl::DefaultSettings));
  buttons->addWidget(c(ctl::SendSettings));
  settings->addLayout(buttons);

  // Bottom: what the last operation did.
  auto* status = new QHBoxLayout;
  status->setContentsMargins(10, 0, 10, 0);
  status->addWidget(c(ctl::StatusLine), 3);
  status->addWidget(c(ctl::Progress), 1);
  top->addLayout(status);
  top->setSizeConstraint(QLayout::SetFixedSize);

  dialog.setStyleSheet(
      "QLabel#caption { font-size: 8pt; font-weight: bold; color: #24406e; }"
      "QGroupBox { font-weight: bold; }");
  return out;
}

}  // namespace orx
