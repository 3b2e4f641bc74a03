// The real window: its widgets, their start-up state, the user's signals and
// changes arriving from code.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <thread>

#include "tests/support/QtTestApp.h"
#include "Recorders.h"
#include "app/IndicatorSquare.h"
#include "base/MainWindowControls.h"
#include "app/ORXDlg.h"
#include "base/StatusDisplay.h"
#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "base/Cp1252.h"

using namespace orx;
using namespace orx::test;

namespace {

struct Window : ::testing::Test {
  QApplication& app = qtApp();
  SharedControls controls;
  RecordingCommands commands;
  CORXDlg dialog{controls, commands};
  std::vector<QString> boxes;

  void SetUp() override {
    dialog.prompter().setBoxRunner([this](QMessageBox& box) {
      boxes.push_back(box.text());
      return int(QMessageBox::Ok);
    });
    dialog.show();
    dialog.activateWindow();
    pumpUntil([&] { return dialog.isVisible(); });
  }

  template <class W = QWidget>
  W* w(int id) {
    W* widget = dialog.findChild<W*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
  }
  DialogState state() const {
    return controls.read([](const DialogState& s) { return s; });
  }
  void setFromCode(const std::function<void(DialogState&)>& f) {
    controls.update(f);
    QCoreApplication::processEvents();
  }
  void click(int id) { QTest::mouseClick(w<QAbstractButton>(id), Qt::LeftButton); }
};

using StartUpWindow = Window;
using UserActions = Window;
using ChangesFromCode = Window;
using KeysAndMenu = Window;
using StatusSquares = Window;

}  // namespace

TEST_F(StartUpWindow, TitleControlsAndListsAsAtStart) {
  EXPECT_EQ(dialog.windowTitle(), "ORX Device Manager V1.38.8");
  EXPECT_FALSE(dialog.windowIcon().isNull());
  for (const ControlInfo& c : mainWindowControls()) {
    QWidget* widget = w(c.id);
    ASSERT_NE(widget, nullptr);
    if (c.kind == ControlKind::DropList) {
      auto* combo = qobject_cast<QComboBox*>(widget);
      ASSERT_NE(combo, nullptr) << c.id;
      std::vector<std::string> shown;
      for (int i = 0; i < combo->count(); ++i) shown.push_back(utf8ToCp1252(combo->itemText(i).toStdString()));
      EXPECT_EQ(shown, lists::initialEntries(c.id)) << c.id;
      EXPECT_EQ(combo->currentIndex(), -1) << c.id;
      EXPECT_EQ(combo->currentText(), "") << c.id;
    }
  }
  for (int id : {ctl::RangeMin, ctl::RangeMax, ctl::ResponseStarting, ctl::ResponseRunning}) {
    EXPECT_FALSE(w(id)->isEnabled()) << id;
  }
  auto* status = w<QLineEdit>(ctl::StatusLine);
  EXPECT_TRUE(status->isReadOnly());
  EXPECT_EQ(status->text(), "");
  auto* progress = w<QProgressBar>(ctl::Progress);
  EXPECT_EQ(progress->minimum(), 0);
  EXPECT_EQ(progress->maximum(), 100);
  EXPECT_EQ(w<QLabel>(ctl::AdapterStatusLabel)->text(), "ADAPTER STATUS");
  EXPECT_EQ(w<QLabel>(ctl::DeviceStatusLabel)->text(), "DEVICE STATUS");
  EXPECT_EQ(w<QAbstractButton>(ctl::UpdateFirmware)->text(), "UPDATE FIRMWARE");
  EXPECT_EQ(w<QAbstractButton>(ctl::SendSettings)->text(), "SEND SETTINGS");
  EXPECT_EQ(w<QAbstractButton>(ctl::RepairMode)->text(), "REPAIR MODE");
  EXPECT_EQ(w(ctl::InfoStarting)->toolTip(), "Start-up Response (%/100ms)");
  EXPECT_EQ(w(ctl::InfoRunning)->toolTip(), "Running Response (%/100ms)");
  EXPECT_EQ(w<QLabel>(ctl::HelpText)->text(), QString::fromUtf8(kHelpTextA));
  for (int id : {ctl::NodeInitial, ctl::NodeFixed, ctl::StallEnabled, ctl::CutoffOn}) {
    EXPECT_FALSE(w<QAbstractButton>(id)->isChecked()) << id;
  }
}

TEST_F(StartUpWindow, MenuItemsCarryTheirCommandIds) {
  for (const MenuItem& item : mainWindowMenu()) {
    auto* act = dialog.findChild<QAction*>(QString::number(item.id));
    ASSERT_NE(act, nullptr) << item.id;
    EXPECT_EQ(act->data().toInt(), item.id);
    EXPECT_EQ(act->text(), item.text);
  }
  EXPECT_NE(dialog.findChild<QAction*>("32778"), nullptr);
  EXPECT_NE(dialog.findChild<QAction*>("32822"), nullptr);
}

TEST_F(UserActions, DroneCanPickedByKeyboardEnablesMotorAndPoles) {
  auto* canControl = w<QComboBox>(ctl::CanControl);
  canControl->setFocus();
  QTest::keyClick(canControl, Qt::Key_End);  // "DRONECAN", the last entry
  EXPECT_EQ(state().selection(ctl::CanControl), 3);
  EXPECT_TRUE(w(ctl::DroneCanMotor)->isEnabled());
  EXPECT_TRUE(w(ctl::DroneCanPoles)->isEnabled());
  QTest::keyClick(canControl, Qt::Key_Home);
  EXPECT_EQ(state().selection(ctl::CanControl), 0);
  EXPECT_FALSE(w(ctl::DroneCanMotor)->isEnabled());
  EXPECT_FALSE(w(ctl::DroneCanPoles)->isEnabled());
}

TEST_F(UserActions, ClickedRadiosDriveTheirLists) {
  setFromCode([](DialogState& s) { s.select(ctl::NodeId, 5); });
  click(ctl::NodeInitial);
  EXPECT_FALSE(w(ctl::NodeId)->isEnabled());
  EXPECT_EQ(w<QComboBox>(ctl::NodeId)->currentIndex(), -1);
  click(ctl::NodeFixed);
  EXPECT_TRUE(w(ctl::NodeId)->isEnabled());
  EXPECT_FALSE(w<QAbstractButton>(ctl::NodeInitial)->isChecked());
  EXPECT_TRUE(w<QAbstractButton>(ctl::NodeFixed)->isChecked());

  click(ctl::CutoffOff);
  EXPECT_FALSE(w(ctl::CutoffLevel)->isEnabled());
  click(ctl::CutoffOn);
  EXPECT_TRUE(w(ctl::CutoffLevel)->isEnabled());
  EXPECT_FALSE(w<QAbstractButton>(ctl::CutoffOff)->isChecked());

  setFromCode([](DialogState& s) { s.setText(ctl::StatusLine, "SETTINGS UPDATED"); });
  click(ctl::SyncRectDisabled);
  EXPECT_FALSE(w(ctl::SrBraking)->isEnabled());
  EXPECT_EQ(w<QLineEdit>(ctl::StatusLine)->text(), "");
  click(ctl::SyncRectEnabled);
  EXPECT_TRUE(w(ctl::SrBraking)->isEnabled());

  click(ctl::SyncRectEnabled);  // a second click keeps it ticked
  EXPECT_TRUE(w<QAbstractButton>(ctl::SyncRectEnabled)->isChecked());
  EXPECT_TRUE(state().checked(ctl::SyncRectEnabled));
}

TEST_F(UserActions, ListChangeClearsStatusAndProgress) {
  setFromCode([](DialogState& s) {
    s.setText(ctl::StatusLine, "READ SETTINGS COMPLETED");
    s.setValue(ctl::Progress, 100);
  });
  EXPECT_EQ(w<QLineEdit>(ctl::StatusLine)->text(), "READ SETTINGS COMPLETED");
  EXPECT_EQ(w<QProgressBar>(ctl::Progress)->value(), 100);
  auto* timing = w<QComboBox>(ctl::AdvanceTiming);
  timing->setFocus();
  QTest::keyClick(timing, Qt::Key_Down);
  EXPECT_EQ(state().selection(ctl::AdvanceTiming), 0);
  EXPECT_EQ(w<QLineEdit>(ctl::StatusLine)->text(), "");
  EXPECT_EQ(w<QProgressBar>(ctl::Progress)->value(), 0);
}

TEST_F(UserActions, TypedRangeCheckedWhenTheFocusLeaves) {
  QApplication::setActiveWindow(&dialog);  // focus events need an active window
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  auto* mode = w<QComboBox>(ctl::CalibrationMode);
  mode->setFocus();
  QTest::keyClick(mode, Qt::Key_End);  // RANGE
  auto* min = w<QLineEdit>(ctl::RangeMin);
  ASSERT_TRUE(min->isEnabled());
  EXPECT_EQ(min->text(), "1100");
  min->setFocus();
  min->selectAll();
  QTest::keyClicks(min, "700");
  EXPECT_EQ(state().text(ctl::RangeMin), "700");
  EXPECT_TRUE(state().flags.MinRangeEdited);
  w(ctl::AdcGain)->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(pumpUntil([&] { return !boxes.empty(); }));
  EXPECT_EQ(boxes[0], "Minimum (LOW) Calibration Range Allowed:  800 - 1250\nPlease Enter New Value.");
  EXPECT_TRUE(pumpUntil([&] { return w(ctl::RangeMax)->hasFocus(); }));
  EXPECT_EQ(w<QLineEdit>(ctl::StatusLine)->text(), "CALIBRATION RANGE INCORRECT");
}

TEST_F(UserActions, InfoIconShowsItsBox) {
  click(ctl::InfoRunning);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].startsWith("Running Throttle Response\nRange Allowed: 1 - 100\n"));
}

TEST_F(ChangesFromCode, ShownWithoutRunningHandlers) {
  setFromCode([](DialogState& s) {
    s.select(ctl::CanControl, 0);
    s.select(ctl::CalibrationMode, 0);
    s.setChecked(ctl::NodeInitial, true);
    s.setChecked(ctl::RepairMode, true);
    s.setText(ctl::FirmwareVersion, "E 2.22");
    s.setText(ctl::StatusLine, "READ SETTINGS COMPLETED");
  });
  EXPECT_EQ(w<QComboBox>(ctl::CanControl)->currentText(), "PWM SYNC");
  EXPECT_TRUE(w(ctl::DroneCanMotor)->isEnabled());  // the CAN BUS CONTROL handler did not run
  EXPECT_TRUE(w<QAbstractButton>(ctl::NodeInitial)->isChecked());
  EXPECT_TRUE(w(ctl::NodeId)->isEnabled());  // the INITIAL handler did not run
  EXPECT_TRUE(w<QAbstractButton>(ctl::RepairMode)->isChecked());
  EXPECT_EQ(w<QLabel>(ctl::FirmwareVersion)->text(), "E 2.22");
  EXPECT_EQ(w<QLineEdit>(ctl::StatusLine)->text(), "READ SETTINGS COMPLETED");
  EXPECT_FALSE(state().flags.RangeResetPending);  // the calibration handler did not run
  EXPECT_TRUE(commands.calls.empty());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ChangesFromCode, FromAnotherThreadArriveOnTheWindowThread) {
  std::thread worker([&] {
    controls.update([](DialogState& s) {
      s.setItems(ctl::MotorEdition, lists::motorEditionsCp210x());
      s.select(ctl::MotorEdition, 9);
      s.setText(ctl::McuId, "0x1234");
      s.setValue(ctl::Progress, 42);
      s.setText(ctl::AdcGain, "18.7");
      s.setEnabled(ctl::SendSettings, false);
    });
  });
  worker.join();
  auto* motor = w<QComboBox>(ctl::MotorEdition);
  ASSERT_TRUE(pumpUntil([&] { return motor->count() == 10; }));
  EXPECT_EQ(motor->currentText(), "MOTOR-10");
  EXPECT_EQ(w<QLabel>(ctl::McuId)->text(), "0x1234");
  EXPECT_EQ(w<QProgressBar>(ctl::Progress)->value(), 42);
  EXPECT_EQ(w<QLineEdit>(ctl::AdcGain)->text(), "18.7");
  EXPECT_FALSE(w(ctl::SendSettings)->isEnabled());
  EXPECT_EQ(w<QAbstractButton>(ctl::SendSettings)->text(), "SEND SETTINGS");
  EXPECT_EQ(w<QComboBox>(ctl::Adapter)->currentIndex(), -1);  // the MOTOR EDITION handler did not run
}

TEST_F(ChangesFromCode, EditBeingTypedKeepsItsCursor) {
  auto* gain = w<QLineEdit>(ctl::AdcGain);
  gain->setFocus();
  QTest::keyClicks(gain, "12.5");
  gain->setCursorPosition(2);
  setFromCode([](DialogState& s) {
    s.setText(ctl::StatusLine, "X");
    s.setText(ctl::AdcGain, "12.5");
    s.setEnabled(ctl::AdcGain, true);
  });
  EXPECT_EQ(gain->cursorPosition(), 2);
  setFromCode([](DialogState& s) { s.setText(ctl::AdcGain, "\xB0"); });  // Windows-1252 degree sign
  EXPECT_EQ(gain->text(), QString::fromUtf8("\xC2\xB0"));
}

TEST_F(KeysAndMenu, EnterPressesSendSettings) {
  auto* gain = w<QLineEdit>(ctl::AdcGain);
  gain->setFocus();
  QTest::keyClick(gain, Qt::Key_Return);
  auto* baud = w<QComboBox>(ctl::CanBaud);
  baud->setFocus();
  QTest::keyClick(baud, Qt::Key_Enter);
  auto* update = w<QPushButton>(ctl::UpdateFirmware);
  update->setFocus();
  QTest::keyClick(update, Qt::Key_Return);
  auto* defaults = w<QPushButton>(ctl::DefaultSettings);
  defaults->setFocus();
  QTest::keyClick(defaults, Qt::Key_Return);
  EXPECT_EQ(commands.calls, (std::vector<std::string>{"sendSettings", "sendSettings", "sendSettings", "sendSettings"}));
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(KeysAndMenu, ExitEndsWithOneEscapeWithCancel) {
  dialog.action(cmd::Exit)->trigger();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 1);

  dialog.show();
  pumpUntil([&] { return dialog.isVisible(); });
  dialog.setResult(-1);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);

  dialog.show();
  dialog.action(cmd::Protections)->trigger();
  dialog.action(cmd::DataLog)->trigger();
  EXPECT_EQ(commands.calls, (std::vector<std::string>{"protections", "openDataLog"}));
}

TEST_F(StatusSquares, ColoursAndHelpTextFollowTheState) {
  auto* adapter = w<IndicatorSquare>(ctl::AdapterIndicator);
  auto* device = w<IndicatorSquare>(ctl::DeviceIndicator);
  auto centre = [](QWidget* square) {
    const QImage image = square->grab().toImage();
    return QColor(image.pixel(image.width() / 2, image.height() / 2));
  };
  EXPECT_EQ(centre(adapter), QColor(255, 0, 0));
  EXPECT_EQ(centre(device), QColor(255, 0, 0));

  dialog.setStatusDisplay(true, false);
  ASSERT_TRUE(pumpUntil([&] { return adapter->isGreen(); }));
  EXPECT_EQ(centre(adapter), QColor(0, 255, 0));
  EXPECT_EQ(centre(device), QColor(255, 0, 0));
  EXPECT_EQ(w<QLabel>(ctl::HelpText)->text(), QString::fromUtf8(kHelpTextA));

  std::thread([&] { dialog.setStatusDisplay(true, true); }).join();
  ASSERT_TRUE(pumpUntil([&] { return device->isGreen(); }));
  EXPECT_EQ(centre(device), QColor(0, 255, 0));
  EXPECT_EQ(w<QLabel>(ctl::HelpText)->text(), QString::fromUtf8(kHelpTextB));

  // The edge is sunken: the border differs from the fill.
  const QImage image = device->grab().toImage();
  EXPECT_NE(QColor(image.pixel(0, 0)), QColor(0, 255, 0));
}

TEST_F(StatusSquares, BringToFrontRestoresAMinimisedWindow) {
  dialog.showMinimized();
  pumpUntil([&] { return dialog.isMinimized(); }, 500);
  dialog.bringToFront();
  EXPECT_FALSE(dialog.isMinimized());
  EXPECT_TRUE(dialog.isVisible());
}
