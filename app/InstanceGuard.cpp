#include "InstanceGuard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace orx {
namespace {

constexpr char kActivate[] = "activate\n";
constexpr int kConnectMs = 1000;
constexpr int kLockWaitMs = 3000;

// A folder only this user can enter: created 0700, or found so. Anything else
// (a link, another owner, a mode that lets others in) may be someone's trap.
bool privateFolder(const QByteArray& path) {
  if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & 077) == 0;
}

}  // namespace

InstanceGuard::InstanceGuard(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {}

InstanceGuard::~InstanceGuard() { release(); }

void InstanceGuard::release() {
  if (!server_) return;
  server_->close();  // removes the socket file
  delete server_;
  server_ = nullptr;
}

QString InstanceGuard::defaultSocketPath() {
  const QString fromEnv = qEnvironmentVariable("ORX_INSTANCE_SOCKET");
  if (!fromEnv.isEmpty()) return fromEnv;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable()) {
    return QDir(runtime).filePath("orx-device-manager.sock");
  }
  // The temporary folder is shared: meet in a private folder inside it.
  const QString folder = QDir(QDir::tempPath()).filePath(QString("orx-device-manager-%1").arg(::geteuid()));
  if (!privateFolder(QFile::encodeName(folder))) {
    qWarning("orx-device-manager: %s is not a private folder of this user; running without the instance guard",
             qPrintable(folder));
    return {};
  }
  return QDir(folder).filePath("orx-device-manager.sock");
}

bool InstanceGuard::tellRunningInstance() {
  QLocalSocket socket;
  socket.connectToServer(socketPath_);
  if (!socket.waitForConnected(kConnectMs)) return false;
  socket.write(kActivate);
  socket.waitForBytesWritten(kConnectMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectMs);
  return true;
}

InstanceGuard::Claim InstanceGuard::claim() {
  if (server_) return Claim::First;
  if (socketPath_.isEmpty()) return Claim::Unguarded;

  QLockFile lock(socketPath_ + ".lock");
  const bool locked = lock.tryLock(kLockWaitMs);  // a lock of a dead process counts as stale

  if (tellRunningInstance()) return Claim::OtherActivated;

  // Nobody answers: whatever socket file is there is left from a crashed run.
  QLocalServer::removeServer(socketPath_);
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(socketPath_)) {
    delete server;
    return locked ? Claim::Unguarded : (tellRunningInstance() ? Claim::OtherActivated : Claim::Unguarded);
  }
  server_ = server;
  connect(server_, &QLocalServer::newConnection, this, &InstanceGuard::onNewConnection);
  return Claim::First;
}

void InstanceGuard::onNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    auto check = [this, socket] {
      if (socket->property("handled").toBool()) return;
      if (!socket->canReadLine()) return;
      socket->setProperty("handled", true);
      if (socket->readLine() == kActivate) emit activationRequested();
      socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, this, check);
    connect(socket, &QLocalSocket::disconnected, this, check);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    check();  // the request may have arrived with the connection
  }
}

}  // namespace orx
