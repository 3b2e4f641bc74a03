// The drop-down of the colour picker: an "Automatic" box, a grid of the forty
// named colours and a "More Colours..." box, chosen with the mouse or the
// keyboard. It reports to the picker through its signals and deletes itself
// once the selection has ended.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "dialogs/ColourTable.h"

namespace orx {

// Where the popup's parts lie, in its own coordinates.
struct PopupLayout {
  QSize window;
  QRect automaticBox;  // empty when there is no "Automatic" text
  QRect customBox;     // empty when there is no "More Colours..." text
  QPoint gridOrigin;
  QRect cellRect(int cell) const;  // a box for -3 and -2, a grid cell for 0-39
  int cellAt(const QPoint& point) const;  // text boxes first, then the grid
};

inline constexpr int kCellSize = 18;

// The layout for the given text sizes (an empty size: no such box).
PopupLayout LayoutPopup(int margin, QSize automaticText, QSize customText);
// The popup's top-left so that it stays on `screen`: left when it passes the
// right edge, right when it passes the left edge, above the picker (whose
// bottom-left is `at`) when it passes the bottom.
QPoint PlacePopup(QPoint at, QSize window, int pickerHeight, const QRect& screen);

class CColourPopup : public QWidget {
  Q_OBJECT
 public:
  // The standard colour dialog; nothing when the user cancels it. Tests replace it.
  using ColourDialog = std::function<std::optional<ColourRef>(ColourRef initial, QWidget* parent)>;
  static void setColourDialog(ColourDialog dialog);

  // Shows itself at once at `at` (screen coordinates), kept on the screen.
  CColourPopup(QPoint at, ColourRef initial, QWidget* picker, const QString& defaultText,
               const QString& customText, int pickerHeight = 0);

  int hotCell() const { return hot_; }
  int chosenCell() const { return chosen_; }
  const PopupLayout& layout() const { return layout_; }
  // The tool tip for a point of the popup: a colour's name, or empty.
  QString toolTipAt(const QPoint& point) const;

 signals:
  void selChange(orx::ColourRef colour);
  void selEndOk(orx::ColourRef colour);
  void selEndCancel(orx::ColourRef colour);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void setHot(int cell);
  void endSelection(bool ok);
  void paintCell(QPainter& p, int cell);

  ColourRef initial_;
  ColourRef chosenColour_;
  QString defaultText_;
  QString customText_;
  PopupLayout layout_;
  int hot_ = cell::None;
  int chosen_ = cell::None;
  bool ended_ = false;
  bool dialogOpen_ = false;
};

}  // namespace orx
