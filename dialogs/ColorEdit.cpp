#include "dialogs/ColorEdit.h"

#include <QPainter>

namespace orx {

CColorEdit::CColorEdit(QWidget* parent) : QLineEdit(parent) {
  setFrame(false);
  setTextMargins(8, 0, 8, 0);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  applyColours();
}

void CColorEdit::SetRed(bool red) {
  red_ = red;
  applyColours();
}

void CColorEdit::SetGrey(bool grey) {
  grey_ = grey;
  applyColours();
}

QColor CColorEdit::backgroundColour() const {
  if (grey_) return QColor(192, 192, 192);
  if (red_) return QColor(255, 0, 0);
  return QColor(Qt::white);
}

void CColorEdit::applyColours() {
  QPalette pal = palette();
  pal.setColor(QPalette::Base, backgroundColour());
  pal.setColor(QPalette::Text, Qt::black);
  setPalette(pal);
  update();
}

void CColorEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  QPainter p(this);
  p.setPen(QColor(58, 58, 58));
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect().adjusted(1, 1, -2, -2));
}

}  // namespace orx
