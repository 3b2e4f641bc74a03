// The colour picker and its popup, driven offscreen: the popup's layout and
// placement, choosing by mouse and keyboard, cancelling, "Automatic", "More
// Colours..." with its dialog, tool tips, and what the button paints.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <optional>

#include "QtRig.h"
#include "dialogs/ColorEdit.h"
#include "dialogs/ColourPicker.h"

namespace orx::test {
namespace {

void mouseTo(QWidget* w, QPoint p, QEvent::Type type = QEvent::MouseMove) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void key(QWidget* w, int k) {
  QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

struct PickerRig {
  PickerRig() {
    picker = new CColourPicker(&dialog);
    picker->setObjectName("1234");
    picker->move(10, 10);
    dialog.resize(300, 200);
    dialog.show();
  }
  CColourPopup* open() {
    picker->click();
    return picker->popup();
  }
  QPoint centreOf(int cell) { return picker->popup()->layout().cellRect(cell).center(); }

  QApplication& app = qtApp();
  QWidget dialog;
  CColourPicker* picker;
};

TEST(ColourPopupLayout, GridBelowAutomaticAndAboveMoreColours) {
  const PopupLayout l = LayoutPopup(2, QSize(60, 14), QSize(90, 14));
  const int boxHeight = 14 + 4 * 2 + 2;
  EXPECT_EQ(l.window.width(), 8 * 18 + 4);  // the grid is wider than either text
  EXPECT_EQ(l.automaticBox, QRect(2, 2, 8 * 18, boxHeight));
  EXPECT_EQ(l.gridOrigin, QPoint(2, 2 + boxHeight + 2));
  EXPECT_EQ(l.customBox.top(), l.gridOrigin.y() + 5 * 18 + 2);
  EXPECT_EQ(l.window.height(), l.customBox.bottom() + 1 + 2);
  for (int c = 0; c < kColourCount; ++c) EXPECT_EQ(l.cellAt(l.cellRect(c).center()), c) << c;
  EXPECT_EQ(l.cellAt(l.automaticBox.center()), cell::Automatic);
  EXPECT_EQ(l.cellAt(l.customBox.center()), cell::Custom);
  EXPECT_EQ(l.cellAt(QPoint(0, 0)), cell::None);

  const PopupLayout wide = LayoutPopup(2, QSize(), QSize(300, 14));
  EXPECT_EQ(wide.window.width(), 304);
  EXPECT_TRUE(wide.automaticBox.isEmpty());
  EXPECT_EQ(wide.gridOrigin.y(), 2);
  EXPECT_EQ(wide.cellAt(wide.cellRect(0).center()), 0);
}

TEST(ColourPopupLayout, KeptOnTheScreen) {
  const QRect screen(0, 0, 800, 600);
  EXPECT_EQ(PlacePopup({100, 100}, {150, 160}, 20, screen), QPoint(100, 100));
  EXPECT_EQ(PlacePopup({700, 100}, {150, 160}, 20, screen), QPoint(650, 100));
  EXPECT_EQ(PlacePopup({-30, 100}, {150, 160}, 20, screen), QPoint(0, 100));
  // Near the bottom it opens above the picker.
  EXPECT_EQ(PlacePopup({100, 500}, {150, 160}, 20, screen), QPoint(100, 500 - 20 - 160));
}

TEST(ColourPicker, OpensWithTheCurrentColourChosenAndEscapeKeepsIt) {
  PickerRig t;
  t.picker->SetColour(Rgb(0, 0, 255));
  QSignalSpy dropped(t.picker, &CColourPicker::dropDown);
  QSignalSpy closed(t.picker, &CColourPicker::closeUp);
  QSignalSpy cancelled(t.picker, &CColourPicker::selEndCancel);
  CColourPopup* popup = t.open();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(t.picker->popupActive());
  EXPECT_EQ(popup->chosenCell(), 13);
  ASSERT_EQ(dropped.size(), 1);
  EXPECT_EQ(dropped[0][1].toInt(), 1234);

  key(popup, Qt::Key_Right);  // moving tells the picker, which does not follow by default
  key(popup, Qt::Key_Escape);
  EXPECT_EQ(t.picker->GetColour(), Rgb(0, 0, 255));
  EXPECT_FALSE(t.picker->popupActive());
  ASSERT_EQ(cancelled.size(), 1);
  EXPECT_EQ(cancelled[0][0].value<ColourRef>(), Rgb(0, 0, 255));
  EXPECT_EQ(closed.size(), 1);
  EXPECT_TRUE(pumpUntil([&] { return t.picker->popup() == nullptr; }));
}

TEST(ColourPicker, MouseChoosesACellAndTrackingFollowsTheHotCell) {
  PickerRig t;
  t.picker->SetColour(Rgb(0, 0, 255));
  t.picker->SetTrackSelection(true);
  QSignalSpy changed(t.picker, &CColourPicker::selChange);
  QSignalSpy ok(t.picker, &CColourPicker::selEndOk);
  CColourPopup* popup = t.open();
  mouseTo(popup, t.centreOf(16));
  EXPECT_EQ(popup->hotCell(), 16);
  EXPECT_EQ(t.picker->GetColour(), Rgb(255, 0, 0));
  ASSERT_EQ(changed.size(), 1);
  EXPECT_EQ(changed[0][0].value<ColourRef>(), Rgb(255, 0, 0));
  mouseTo(popup, t.centreOf(16));  // the same cell again tells nothing new
  EXPECT_EQ(changed.size(), 1);
  mouseTo(popup, t.centreOf(26));
  mouseTo(popup, t.centreOf(26), QEvent::MouseButtonRelease);
  ASSERT_EQ(ok.size(), 1);
  EXPECT_EQ(ok[0][0].value<ColourRef>(), Rgb(255, 255, 0));
  EXPECT_EQ(t.picker->GetColour(), Rgb(255, 255, 0));
}

TEST(ColourPicker, ReleaseOutsideCancelsEvenAfterTracking) {
  PickerRig t;
  t.picker->SetColour(Rgb(0, 147, 0));
  t.picker->SetTrackSelection(true);
  QSignalSpy cancelled(t.picker, &CColourPicker::selEndCancel);
  CColourPopup* popup = t.open();
  mouseTo(popup, t.centreOf(0));
  EXPECT_EQ(t.picker->GetColour(), Rgb(0, 0, 0));
  mouseTo(popup, QPoint(-20, -20), QEvent::MouseButtonRelease);
  EXPECT_EQ(cancelled.size(), 1);
  EXPECT_EQ(t.picker->GetColour(), Rgb(0, 147, 0));
}

TEST(ColourPicker, AutomaticGivesTheDefaultValueDrawnAsButtonFace) {
  PickerRig t;
  t.picker->SetColour(Rgb(255, 0, 0));
  CColourPopup* popup = t.open();
  key(popup, Qt::Key_Right);  // cell 0
  key(popup, Qt::Key_Left);   // "Automatic"
  EXPECT_EQ(popup->hotCell(), cell::Automatic);
  key(popup, Qt::Key_Return);
  EXPECT_EQ(t.picker->GetColour(), kDefaultColour);
  t.picker->resize(120, t.picker->height());
  EXPECT_EQ(pixelAt(*t.picker, QPoint(10, t.picker->height() / 2)), t.picker->palette().color(QPalette::Button));
  t.picker->SetColour(Rgb(255, 0, 0));
  EXPECT_EQ(pixelAt(*t.picker, QPoint(10, t.picker->height() / 2)), QColor(255, 0, 0));
}

TEST(ColourPicker, MoreColoursTakesTheDialogsColourOrCancels) {
  PickerRig t;
  std::optional<ColourRef> answer = Rgb(10, 20, 30);
  ColourRef dialogStart = 0;
  CColourPopup::setColourDialog([&](ColourRef initial, QWidget*) {
    dialogStart = initial;
    return answer;
  });
  t.picker->SetColour(Rgb(56, 142, 142));
  CColourPopup* popup = t.open();
  mouseTo(popup, popup->layout().customBox.center());
  mouseTo(popup, popup->layout().customBox.center(), QEvent::MouseButtonRelease);
  EXPECT_EQ(dialogStart, Rgb(56, 142, 142));
  EXPECT_EQ(t.picker->GetColour(), Rgb(10, 20, 30));

  // A colour outside the table opens with "More Colours..." chosen.
  answer.reset();
  QSignalSpy cancelled(t.picker, &CColourPicker::selEndCancel);
  popup = t.open();
  EXPECT_EQ(popup->chosenCell(), cell::Custom);
  mouseTo(popup, popup->layout().customBox.center());
  key(popup, Qt::Key_Space);
  EXPECT_EQ(cancelled.size(), 1);
  EXPECT_EQ(t.picker->GetColour(), Rgb(10, 20, 30));
  CColourPopup::setColourDialog({});
}

TEST(ColourPicker, CellNamesAsToolTipsAndTextModeAndDataExchange) {
  PickerRig t;
  CColourPopup* popup = t.open();
  EXPECT_EQ(popup->toolTipAt(t.centreOf(35)), "Pale green ");
  EXPECT_EQ(popup->toolTipAt(t.centreOf(13)), "Blue");
  EXPECT_EQ(popup->toolTipAt(popup->layout().automaticBox.center()), "");
  key(popup, Qt::Key_Escape);

  t.picker->SetSelectionMode(CColourPicker::kModeText);
  ColourRef value = Rgb(210, 180, 140);
  const ColourRef face = t.picker->GetBkColour();
  DDX_ColourPicker(false, *t.picker, value);
  EXPECT_EQ(t.picker->GetTextColour(), Rgb(210, 180, 140));
  EXPECT_EQ(t.picker->GetBkColour(), face);
  t.picker->SetColour(Rgb(1, 1, 1));
  DDX_ColourPicker(true, *t.picker, value);
  EXPECT_EQ(value, Rgb(1, 1, 1));
}

TEST(ColourPicker, SizedForItsArrow) {
  PickerRig t;
  const int d = t.picker->arrowSize();
  EXPECT_GE(d, 10);
  EXPECT_EQ(t.picker->height(), d + 4);
  EXPECT_GE(t.picker->sizeHint().width(), 2 * (2 + d));
  t.picker->resize(100, t.picker->height());
  EXPECT_EQ(t.picker->arrowRect(), QRect(100 - 2 - d, 2, d, d));
}

TEST(ColorEdit, GreyOverRedOverWhite) {
  qtApp();
  CColorEdit edit;
  EXPECT_EQ(edit.backgroundColour(), QColor(Qt::white));
  edit.SetRed(true);
  EXPECT_EQ(edit.backgroundColour(), QColor(255, 0, 0));
  edit.SetGrey(true);
  EXPECT_EQ(edit.backgroundColour(), QColor(192, 192, 192));
  edit.resize(100, 24);
  EXPECT_EQ(pixelAt(edit, QPoint(4, 12)), QColor(192, 192, 192));
  EXPECT_EQ(pixelAt(edit, QPoint(1, 12)), QColor(58, 58, 58));
}

}  // namespace
}  // namespace orx::test
