// Helpers to drive widgets offscreen.
#pragma once

#include <QImage>
#include <QWidget>

#include "tests/support/QtTestApp.h"

namespace orx::test {

// The colour a widget paints at `point` (its own coordinates).
inline QColor pixelAt(QWidget& w, QPoint point) {
  const QImage image = w.grab().toImage();
  return image.pixelColor(point * image.devicePixelRatio());
}

}  // namespace orx::test
