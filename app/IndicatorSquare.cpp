#include "IndicatorSquare.h"

#include <QPainter>

#include "base/StatusDisplay.h"

namespace orx {

IndicatorSquare::IndicatorSquare(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
  setFixedSize(sizeHint());
}

void IndicatorSquare::setGreen(bool green) {
  if (green_ == green) return;
  green_ = green;
  update();
}

QColor IndicatorSquare::fillColour() const {
  const Rgb c = IndicatorColour(green_);
  return QColor(c.r, c.g, c.b);
}

void IndicatorSquare::paintEvent(QPaintEvent* event) {
  {
    QPainter p(this);
    p.fillRect(rect(), fillColour());
  }
  QFrame::paintEvent(event);  // the sunken edge over the fill
}

}  // namespace orx
