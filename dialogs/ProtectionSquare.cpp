#include "dialogs/ProtectionSquare.h"

#include <QPainter>
#include <qdrawutil.h>

namespace orx {

ProtectionSquare::ProtectionSquare(int id, ProtectionState state, QWidget* parent)
    : QWidget(parent), state_(state) {
  setObjectName(QString::number(id));
  setFixedSize(sizeHint());
}

void ProtectionSquare::paintEvent(QPaintEvent*) {
  QColor fill;
  switch (state_) {
    case ProtectionState::NotRead: return;
    case ProtectionState::Clear: fill = kProtectionBlue; break;
    case ProtectionState::Activated: fill = kProtectionOrange; break;
  }
  QPainter p(this);
  const QBrush brush(fill);
  qDrawShadePanel(&p, rect(), palette(), true, 2, &brush);
}

}  // namespace orx
