// An edit control with state colours: light grey when the grey flag is set,
// else red when the red flag is set, else white; black text; a thin dark
// frame one pixel inside, and the text kept 8 pixels from either side.
#pragma once

#include <QColor>
#include <QLineEdit>

namespace orx {

class CColorEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit CColorEdit(QWidget* parent = nullptr);

  void SetRed(bool red);
  void SetGrey(bool grey);
  bool red() const { return red_; }
  bool grey() const { return grey_; }
  QColor backgroundColour() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void applyColours();

  bool red_ = false;
  bool grey_ = false;
};

}  // namespace orx
