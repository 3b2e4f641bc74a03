#include "dialogs/HyperlinkStatic.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace orx {

CHyperlinkStatic::Opener CHyperlinkStatic::systemOpener() {
  return [](const QString& address) { return QDesktopServices::openUrl(QUrl(address)); };
}

CHyperlinkStatic::CHyperlinkStatic(const QString& text, QWidget* parent) : QLabel(text, parent), display_(text) {
  setMouseTracking(true);
}

void CHyperlinkStatic::SetText(const QString& text) {
  display_ = text;
  setText(text);
  measured_ = false;
  update();
}

void CHyperlinkStatic::paintEvent(QPaintEvent*) {
  if (!fontCreated_) {
    underlined_ = parentWidget() != nullptr ? parentWidget()->font() : font();
    underlined_.setUnderline(true);
    fontCreated_ = true;
  }
  QPainter p(this);
  p.setFont(underlined_);
  p.setPen(QColor(0, 0, 255));
  p.drawText(QRect(QPoint(0, 0), size()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, display_);
}

void CHyperlinkStatic::measure() {
  if (measured_ || !fontCreated_) return;
  const QFontMetrics metrics(underlined_);
  textSize_ = QSize(metrics.horizontalAdvance(display_), metrics.height());
  measured_ = true;
}

bool CHyperlinkStatic::hitTest(const QPoint& point) {
  measure();
  return measured_ && point.x() >= 0 && point.x() < textSize_.width() && point.y() >= 0 &&
         point.y() < textSize_.height();
}

void CHyperlinkStatic::mouseMoveEvent(QMouseEvent* event) {
  // The first move only starts watching for the mouse leaving; the cursor
  // follows from the next one, so a window that opens under the mouse does
  // not show the hand before the mouse has really moved onto the link.
  if (!tracked_) {
    tracked_ = true;
  } else {
    setCursor(hitTest(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
  }
  QLabel::mouseMoveEvent(event);
}

void CHyperlinkStatic::leaveEvent(QEvent* event) {
  tracked_ = false;
  setCursor(Qt::ArrowCursor);
  QLabel::leaveEvent(event);
}

void CHyperlinkStatic::mousePressEvent(QMouseEvent* event) {
  // A browser that cannot be started is not reported.
  if (event->button() == Qt::LeftButton && hitTest(event->position().toPoint()) && opener_) opener_(link_);
  QLabel::mousePressEvent(event);
}

}  // namespace orx
