// Closing the window mid-job ends the process at once, and a start right
// after gets a window of its own. The program runs in a child process as
// main() runs it; the test talks to it through a pipe: 'r' clicks REPAIR
// MODE, 'c' closes the window; the child answers 's' once its window shows.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdlib>

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
  int toChild = -1;
  int fromChild = -1;

  void send(char c) const { ASSERT_EQ(::write(toChild, &c, 1), 1); }
  // The child's next answer within `limit`, or 0.
  char answer(milliseconds limit) const {
    pollfd p{fromChild, POLLIN, 0};
    char c = 0;
    if (::poll(&p, 1, int(limit.count())) == 1 && ::read(fromChild, &c, 1) == 1) return c;
    return 0;
  }
  // Milliseconds from `start` until the child ended, or -1 when it still runs
  // `limit` after `start`.
  long long exitsWithin(milliseconds limit, steady_clock::time_point start = steady_clock::now()) const {
    while (steady_clock::now() - start < limit) {
      if (::waitpid(pid, nullptr, WNOHANG) == pid) {
        return duration_cast<milliseconds>(steady_clock::now() - start).count();
      }
      ::usleep(5000);
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
  const pid_t pid = ::fork();
  if (pid != 0) {
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
      if (mainWindow() == nullptr) return;
      shown.stop();
      (void)!::write(up[1], "s", 1);
    });
    shown.start(20);
    QSocketNotifier commands(down[0], QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, [&] {
      char c = 0;
      if (::read(down[0], &c, 1) != 1 || mainWindow() == nullptr) return;
      if (c == 'r') mainWindow()->findChild<QAbstractButton*>("1067")->click();
      if (c == 'c') mainWindow()->close();
    });
    rc = app.run();
  }
  ::_exit(rc);
}

// Starts the program against `esc`, lets `intoJob` bring it into a long job,
// closes the window, and starts it again right after.
void closeMidJob(sim::SimulatedEsc& esc, const std::function<void(const Child&)>& intoJob) {
  ASSERT_TRUE(esc.start()) << esc.error();
  QTemporaryDir dir;
  const QString socket = dir.filePath("orx.sock");
  Child first = startProgram(esc.virtualPort(), socket);
  ASSERT_EQ(first.answer(10s), 's');
  intoJob(first);
  const auto closed = steady_clock::now();
  first.send('c');
  long long exitMs = first.exitsWithin(200ms, closed);
  Child second = startProgram(esc.virtualPort(), socket);  // the user starts it again at once
  if (exitMs < 0) exitMs = first.exitsWithin(15s, closed);
  testing::Test::RecordProperty("ExitAfterCloseMs", int(exitMs));
  EXPECT_GE(exitMs, 0);
  EXPECT_LT(exitMs, 1000);

  EXPECT_EQ(second.answer(10s), 's');
  second.send('c');
  EXPECT_GE(second.exitsWithin(10s), 0);
}

}  // namespace

TEST(Shutdown, ClosingDuringAnIdentifyTheEscNeverAnswers) {
  sim::SimulatedEsc esc{sim::Cp210xConfig{}};
  esc.addFault({sim::Command::Identify, sim::FaultKind::Silence, -1, 0});
  closeMidJob(esc, [&](const Child&) {
    // 0xD4 answered, then 0xD7 (Identify) waits for a reply that never comes.
    ASSERT_TRUE(test::waitFor([&] {
      const sim::Bytes got = esc.received();
      return std::find(got.begin(), got.end(), 0xD7) != got.end();
    }, 10s));
  });
}

TEST(Shutdown, ClosingWhileRepairModeSearchesForAMissingDfuDevice) {
  sim::SimulatedEsc esc{sim::NvqConfig{}};
  esc.setReappearAfterLeavingMs(-1);
  closeMidJob(esc, [&](const Child& child) {
    ASSERT_TRUE(test::waitFor([&] { return !esc.received().empty(); }, 10s));
    child.send('r');
    // The ESC left for its boot loader; no DFU device shows up on this bus.
    ASSERT_TRUE(test::waitFor([&] { return !esc.present(); }, 10s));
  });
}
