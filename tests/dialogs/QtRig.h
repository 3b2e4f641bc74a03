// One QApplication per test process, and helpers to drive widgets offscreen.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <functional>

namespace orx::test {

inline QApplication& qtApp() {
  static int argc = 1;
  static char name[] = "dialog_window_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

inline bool waitFor(const std::function<bool()>& done, int ms = 2000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

// The colour a widget paints at `point` (its own coordinates).
inline QColor pixelAt(QWidget& w, QPoint point) {
  const QImage image = w.grab().toImage();
  return image.pixelColor(point * image.devicePixelRatio());
}

}  // namespace orx::test
