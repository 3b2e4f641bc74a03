// One QApplication per test process, created on first use (offscreen under
// CTest), and an event pump for widget tests.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <functional>
#include <thread>

namespace orx::test {

inline QApplication& qtApp() {
  static int argc = 1;
  static char name[] = "orx_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Runs the event loop until `done` holds or `ms` pass; returns `done()`.
// The short sleep leaves the core to the link worker while nothing is queued.
inline bool pumpUntil(const std::function<bool()>& done, int ms = 2000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}
inline bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  return pumpUntil(done, static_cast<int>(limit.count()));
}

}  // namespace orx::test
