// Closing the window mid-job ends the process at once, and a start right after
// gets a window of its own. The program runs in a child process as main() runs
// it; a byte down a pipe closes its window, and it says 's' once a window shows.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <chrono>

#include "app/ORXApp.h"
#include "tests/support/WaitFor.h"
#include "tools/SimulatedEsc.h"

using namespace orx;
using namespace std::chrono;

namespace {

QWidget* mainWindow() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "102" && w->isVisible()) return w;
  }
  return nullptr;
}

struct Child {
  pid_t pid = -1;
  int toChild = -1, fromChild = -1;

  void closeWindow() const { ASSERT_EQ(::write(toChild, "c", 1), 1); }
  bool showsWindow() const {
    pollfd p{fromChild, POLLIN, 0};
    char c = 0;
    return ::poll(&p, 1, 10000) == 1 && ::read(fromChild, &c, 1) == 1 && c == 's';
  }
  // Milliseconds from `start` until the child ended; -1 when still running `limit` after it.
  long long endedAfter(steady_clock::time_point start, milliseconds limit) const {
    for (; steady_clock::now() - start < limit; ::usleep(5000)) {
      if (::waitpid(pid, nullptr, WNOHANG) == pid) return duration_cast<milliseconds>(steady_clock::now() - start).count();
    }
    return -1;
  }
  ~Child() {
    if (pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    ::close(toChild);
    ::close(fromChild);
  }
};

Child startProgram(const std::string& ports, const QString& socket) {
  int down[2], up[2];
  if (::pipe(down) != 0 || ::pipe(up) != 0) return {};
  if (const pid_t pid = ::fork(); pid != 0) {
    ::close(down[0]);
    ::close(up[1]);
    return {pid, down[1], up[0]};
  }
  ::setenv("ORX_VIRTUAL_PORTS", ports.c_str(), 1);
  ::setenv("ORX_INSTANCE_SOCKET", socket.toLocal8Bit().constData(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int rc = 0;
  {
    int argc = 1;
    char name[] = "orx-device-manager";
    char* argv[] = {name, nullptr};
    CORXApp app(argc, argv);
    QTimer shown;
    QObject::connect(&shown, &QTimer::timeout, [&] {
      if (mainWindow() != nullptr && ::write(up[1], "s", 1) == 1) shown.stop();
    });
    shown.start(20);
    QSocketNotifier closer(down[0], QSocketNotifier::Read);
    QObject::connect(&closer, &QSocketNotifier::activated, [&] {
      char c = 0;
      if (::read(down[0], &c, 1) == 1 && mainWindow() != nullptr) mainWindow()->close();
    });
    rc = app.run();
  }
  ::_exit(rc);
}

}  // namespace

TEST(Shutdown, ClosingDuringAnIdentifyTheEscNeverAnswersEndsAtOnceAndAStartRightAfterShowsAWindow) {
  sim::SimulatedEsc esc{sim::Cp210xConfig{}};
  esc.addFault({sim::Command::Identify, sim::FaultKind::Silence, -1, 0});
  ASSERT_TRUE(esc.start()) << esc.error();
  QTemporaryDir dir;
  const QString socket = dir.filePath("orx.sock");
  Child first = startProgram(esc.virtualPort(), socket);
  ASSERT_TRUE(first.showsWindow());
  // 0xD4 answered, then 0xD7 (Identify) waits for a reply that never comes.
  ASSERT_TRUE(test::waitFor([&] {
    const sim::Bytes got = esc.received();
    return std::find(got.begin(), got.end(), 0xD7) != got.end();
  }, 10s));
  const auto closed = steady_clock::now();
  first.closeWindow();
  long long exitMs = first.endedAfter(closed, 200ms);
  Child second = startProgram(esc.virtualPort(), socket);  // the user starts it again at once
  if (exitMs < 0) exitMs = first.endedAfter(closed, 15s);
  testing::Test::RecordProperty("ExitAfterCloseMs", int(exitMs));
  EXPECT_GE(exitMs, 0);
  EXPECT_LT(exitMs, 1000);
  EXPECT_TRUE(second.showsWindow());
  second.closeWindow();
  EXPECT_GE(second.endedAfter(steady_clock::now(), 10s), 0);
}
