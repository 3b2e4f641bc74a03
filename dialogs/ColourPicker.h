// A push button that shows a colour swatch with a drop-down arrow; a click
// opens a CColourPopup below it. In selection mode 2 (the default) the picked
// colour is the swatch colour, in mode 1 the text colour.
//
// Signals to the dialog around it carry the colour and the button's control
// id (its objectName as a number): selChange (2025), dropDown (2026),
// closeUp (2027), selEndOk (2028), selEndCancel (2029).
#pragma once

#include <QColor>
#include <QPointer>
#include <QPushButton>

#include "dialogs/ColourPopup.h"
#include "dialogs/ColourTable.h"

namespace orx {

QColor ToQColor(ColourRef colour);
ColourRef FromQColor(const QColor& colour);

class CColourPicker : public QPushButton {
  Q_OBJECT
 public:
  static constexpr int kModeText = 1;
  static constexpr int kModeBackground = 2;

  explicit CColourPicker(QWidget* parent = nullptr);

  ColourRef GetColour() const;
  void SetColour(ColourRef colour);
  ColourRef GetBkColour() const { return colour_; }
  void SetBkColour(ColourRef colour);
  ColourRef GetTextColour() const { return textColour_; }
  void SetTextColour(ColourRef colour);

  int GetSelectionMode() const { return mode_; }
  void SetSelectionMode(int mode) { mode_ = mode; }
  bool GetTrackSelection() const { return track_; }
  void SetTrackSelection(bool track) { track_ = track; }
  void SetDefaultText(const QString& text) { defaultText_ = text; }
  void SetCustomText(const QString& text) { customText_ = text; }

  bool popupActive() const { return active_; }
  CColourPopup* popup() const { return popup_; }
  int controlId() const { return objectName().toInt(); }
  // The arrow strip at the right, inside the edges.
  QRect arrowRect() const;
  // The square the arrow takes: the widest of the edges and the scroll-bar thumbs.
  int arrowSize() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  void selChange(orx::ColourRef colour, int id);
  void dropDown(orx::ColourRef colour, int id);
  void closeUp(orx::ColourRef colour, int id);
  void selEndOk(orx::ColourRef colour, int id);
  void selEndCancel(orx::ColourRef colour, int id);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void openPopup();
  void redraw();

  ColourRef colour_;
  ColourRef textColour_;
  int mode_ = kModeBackground;
  bool track_ = false;
  bool active_ = false;
  QString defaultText_ = "Automatic";
  QString customText_ = "More Colours...";
  QPointer<CColourPopup> popup_;
};

// Moves a colour between a dialog member and a picker: from the picker when
// `saving`, into it otherwise.
void DDX_ColourPicker(bool saving, CColourPicker& picker, ColourRef& value);

}  // namespace orx
