#include "InstanceGuard.h"

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

// A bare name (a pipe on Windows) has no folder: its lock goes where Qt puts
// such sockets on Unix, the temporary folder, never the working folder.
QString lockPathFor(const QString& socketPath) {
  if (QFileInfo(socketPath).isAbsolute()) return socketPath + ".lock";
  return QDir(QDir::tempPath()).filePath(socketPath + ".lock");
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
  return userSocketPath();
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

  QLockFile lock(lockPathFor(socketPath_));
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
