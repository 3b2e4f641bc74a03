#include "graph/GraphWidgets.h"

#include <QLinearGradient>
#include <QPainter>

namespace orx::graph {

void ProtectionIndicator::setState(int state) {
  if (state == state_) return;
  state_ = state;
  update();
}

void ProtectionIndicator::paintEvent(QPaintEvent*) {
  if (state_ != 1 && state_ != 2) return;
  QPainter p(this);
  const QColor fill = state_ == 2 ? QColor(250, 80, 20) : QColor(20, 150, 240);
  const QRect r = rect().adjusted(0, 0, -1, -1);
  p.fillRect(r, fill);
  p.setPen(QColor(64, 64, 64));
  p.drawRect(r);
}

void GraphBanner::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient g(0, 0, width(), 0);
  g.setColorAt(0, QColor(16, 24, 48));
  g.setColorAt(1, QColor(40, 80, 150));
  p.fillRect(rect(), g);
  QFont big("Arial", 20, QFont::Bold);
  p.setFont(big);
  p.setPen(QColor(250, 80, 20));
  p.drawText(rect().adjusted(16, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, "ORX");
  QFont small("Arial", 12);
  p.setFont(small);
  p.setPen(Qt::white);
  p.drawText(rect().adjusted(90, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, "NVQ Series ESC Data Log");
}

}  // namespace orx::graph
