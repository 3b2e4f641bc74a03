#include "Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace orx::res {
namespace {

const QColor kNavy(12, 36, 74);
const QColor kBlue(21, 101, 192);
const QColor kAccent(255, 179, 0);

QImage blank(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// A motor seen from the front: a ring with three swept blades, centred in `r`.
void drawRotor(QPainter& p, const QRectF& r, const QColor& colour) {
  const QPointF c = r.center();
  const qreal radius = qMin(r.width(), r.height()) / 2;
  p.setPen(QPen(colour, radius * 0.14));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, radius * 0.86, radius * 0.86);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  for (int i = 0; i < 3; ++i) {
    const qreal a = qDegreesToRadians(120.0 * i - 90);
    auto at = [&](qreal angle, qreal k) {
      return QPointF(c.x() + std::cos(angle) * radius * k, c.y() + std::sin(angle) * radius * k);
    };
    QPainterPath blade;
    blade.moveTo(at(a - 0.35, 0.18));
    blade.quadTo(at(a - 0.05, 0.55), at(a + 0.35, 0.70));
    blade.quadTo(at(a + 0.45, 0.45), at(a + 0.55, 0.18));
    blade.closeSubpath();
    p.drawPath(blade);
  }
  p.drawEllipse(c, radius * 0.2, radius * 0.2);
}

}  // namespace

QImage programIcon(int size) {
  QImage image = blank(size, size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(0.5, 0.5, size - 1.0, size - 1.0);
  QLinearGradient g(r.topLeft(), r.bottomRight());
  g.setColorAt(0, kBlue);
  g.setColorAt(1, kNavy);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(r, size * 0.18, size * 0.18);
  drawRotor(p, r.adjusted(size * 0.14, size * 0.14, -size * 0.14, -size * 0.14), kAccent);
  return image;
}

QImage banner(int width, int height) {
  QImage image = blank(width, height);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient g(0, 0, width, 0);
  g.setColorAt(0, kNavy);
  g.setColorAt(0.65, kBlue);
  g.setColorAt(1, kNavy);
  p.fillRect(image.rect(), g);

  // A faint sweep of rings on the right, like a stator seen from the front.
  p.setPen(QPen(QColor(255, 255, 255, 30), 1.5));
  p.setBrush(Qt::NoBrush);
  const QPointF hub(width - height * 0.9, height * 0.5);
  for (int i = 1; i <= 6; ++i) p.drawEllipse(hub, height * 0.22 * i, height * 0.22 * i);

  const int pad = height / 8;
  drawRotor(p, QRectF(pad, pad, height - 2 * pad, height - 2 * pad), kAccent);

  QFont name("DejaVu Sans");
  name.setBold(true);
  name.setPixelSize(int(height * 0.55));
  p.setFont(name);
  p.setPen(Qt::white);
  const int textLeft = height + pad;
  p.drawText(QRect(textLeft, 0, width, int(height * 0.72)), Qt::AlignLeft | Qt::AlignBottom, "ORX");

  QFont sub("DejaVu Sans");
  sub.setPixelSize(qMax(8, int(height * 0.2)));
  sub.setLetterSpacing(QFont::AbsoluteSpacing, height * 0.04);
  p.setFont(sub);
  p.setPen(kAccent);
  p.drawText(QRect(textLeft, int(height * 0.70), width, int(height * 0.28)), Qt::AlignLeft | Qt::AlignTop,
             "DEVICE MANAGER");
  return image;
}

QImage infoBitmap(int size) {
  QImage image = blank(size, size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(0.5, 0.5, size - 1.0, size - 1.0);
  QRadialGradient g(r.center() - QPointF(size * 0.15, size * 0.15), size * 0.7);
  g.setColorAt(0, QColor(90, 160, 255));
  g.setColorAt(1, kBlue);
  p.setPen(QPen(kNavy, qMax(1.0, size / 16.0)));
  p.setBrush(g);
  p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  const qreal w = size * 0.14;
  p.drawEllipse(QPointF(r.center().x(), size * 0.28), w * 0.75, w * 0.75);
  p.drawRoundedRect(QRectF(r.center().x() - w / 2, size * 0.42, w, size * 0.36), w / 3, w / 3);
  return image;
}

}  // namespace orx::res
