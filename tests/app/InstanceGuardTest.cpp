// One device manager per user: a second start brings the first forward, and
// what a crashed run leaves behind does not stop the next start.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>

#include "tests/support/QtTestApp.h"
#include "Recorders.h"
#include "app/InstanceGuard.h"
#include "app/ORXDlg.h"

using namespace orx;
using namespace orx::test;

namespace {

// A socket file with nobody behind it, as a killed run leaves it.
void leaveStaleSocket(const QString& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const QByteArray p = QFile::encodeName(path);
  ASSERT_LT(size_t(p.size()), sizeof(addr.sun_path));
  std::memcpy(addr.sun_path, p.constData(), size_t(p.size()));
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
  ::close(fd);
  ASSERT_TRUE(QFile::exists(path));
}

bool someoneListens(const QString& path) {
  QLocalSocket s;
  s.connectToServer(path);
  return s.waitForConnected(200);
}

}  // namespace

TEST(InstanceGuard, SecondStartActivatesTheFirst) {
  qtApp();
  QTemporaryDir dir;
  const QString path = dir.filePath("orx.sock");
  InstanceGuard first(path);
  ASSERT_EQ(first.claim(), InstanceGuard::Claim::First);
  int activations = 0;
  QObject::connect(&first, &InstanceGuard::activationRequested, [&] { ++activations; });

  InstanceGuard second(path);
  EXPECT_EQ(second.claim(), InstanceGuard::Claim::OtherActivated);
  EXPECT_TRUE(pumpUntil([&] { return activations == 1; }));
  InstanceGuard third(path);
  EXPECT_EQ(third.claim(), InstanceGuard::Claim::OtherActivated);
  EXPECT_TRUE(pumpUntil([&] { return activations == 2; }));

  // A client that connects and says nothing asks for nothing.
  { QLocalSocket idle; idle.connectToServer(path); idle.waitForConnected(500); }
  pumpUntil([] { return false; }, 100);
  EXPECT_EQ(activations, 2);
}

TEST(InstanceGuard, StaleSocketAndLockOfACrashedRunDoNotStopTheStart) {
  qtApp();
  QTemporaryDir dir;
  const QString path = dir.filePath("orx.sock");
  leaveStaleSocket(path);
  QFile lock(path + ".lock");  // a lock of a process that no longer exists
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write("999999\norx-device-manager\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  lock.close();

  QElapsedTimer t;
  t.start();
  InstanceGuard guard(path);
  EXPECT_EQ(guard.claim(), InstanceGuard::Claim::First);
  EXPECT_LT(t.elapsed(), 2000);
  EXPECT_TRUE(someoneListens(path));
}

TEST(InstanceGuard, ActivationRestoresTheMinimisedWindow) {
  qtApp();
  QTemporaryDir dir;
  const QString path = dir.filePath("orx.sock");
  InstanceGuard first(path);
  ASSERT_EQ(first.claim(), InstanceGuard::Claim::First);
  SharedControls controls;
  RecordingCommands commands;
  CORXDlg dialog(controls, commands);
  QObject::connect(&first, &InstanceGuard::activationRequested, &dialog, &CORXDlg::bringToFront);
  dialog.showMinimized();
  ASSERT_TRUE(dialog.isMinimized());

  InstanceGuard second(path);
  ASSERT_EQ(second.claim(), InstanceGuard::Claim::OtherActivated);
  EXPECT_TRUE(pumpUntil([&] { return !dialog.isMinimized(); }));
  EXPECT_TRUE(dialog.isVisible());
}

TEST(InstanceGuard, RealSecondProcessExitsAndACrashedOneIsReplaced) {
  qtApp();
  QTemporaryDir dir;
  const QString path = dir.filePath("orx.sock");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ORX_INSTANCE_SOCKET", path);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  auto start = [&](QProcess& p) {
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(ORX_APP_BINARY, {});
    return p.waitForStarted(3000);
  };

  QProcess first;
  ASSERT_TRUE(start(first));
  ASSERT_TRUE(pumpUntil([&] { return someoneListens(path); }, 5000));

  QProcess second;
  ASSERT_TRUE(start(second));
  ASSERT_TRUE(second.waitForFinished(5000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);

  first.kill();  // no clean-up: the socket file stays behind
  first.waitForFinished(3000);
  EXPECT_TRUE(QFile::exists(path));

  QProcess third;
  ASSERT_TRUE(start(third));
  EXPECT_FALSE(third.waitForFinished(1000));  // it runs instead of deferring to the dead one
  EXPECT_TRUE(pumpUntil([&] { return someoneListens(path); }, 3000));
  third.kill();
  third.waitForFinished(3000);
}

// Without XDG_RUNTIME_DIR the socket lives in a folder of the user's own in the
// temporary folder; one that someone else made, or that others may enter, is
// not used, so a planted socket cannot make the program exit unseen.
TEST(InstanceGuard, WithoutARuntimeFolderTheSocketGoesIntoAPrivateOne) {
  QTemporaryDir tmp;
  const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR"), savedTmp = qgetenv("TMPDIR");
  qunsetenv("XDG_RUNTIME_DIR");
  qunsetenv("ORX_INSTANCE_SOCKET");
  qputenv("TMPDIR", QFile::encodeName(tmp.path()));
  const QString folder = tmp.filePath(QString("orx-device-manager-%1").arg(::geteuid()));

  EXPECT_EQ(InstanceGuard::defaultSocketPath(), folder + "/orx-device-manager.sock");
  struct stat st {};
  ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
  EXPECT_EQ(InstanceGuard::defaultSocketPath(), QString());
  if (::geteuid() == 0) {  // only root can hand a folder to someone else
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0700), 0);
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 12345, 12345), 0);
    EXPECT_EQ(InstanceGuard::defaultSocketPath(), QString());
  }
  InstanceGuard unguarded{QString()};
  EXPECT_EQ(unguarded.claim(), InstanceGuard::Claim::Unguarded);

  auto restore = [](const char* name, const QByteArray& value) {
    value.isNull() ? qunsetenv(name) : qputenv(name, value);
  };
  restore("XDG_RUNTIME_DIR", savedRuntime);
  restore("TMPDIR", savedTmp);
}
