// One running device manager per user.
//
// The first start listens on a local socket; a second start finds it there,
// asks it to come to the front and ends. A socket file left behind by a run
// that crashed answers no one, so it is removed and the new start takes over.
// A short lock file around the check keeps two starts at the same moment from
// both taking over.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace orx {

// Where this user's instances meet. Unix (InstanceSocketPath.cpp): a socket in
// the user's runtime directory, else one in a folder of the temporary
// directory that only this user can enter (empty when that folder is unsafe). Windows (InstanceSocketPathWin32.cpp): a pipe named with the
// user's name, since pipe names are shared by every user of the machine.
QString userSocketPath();

class InstanceGuard : public QObject {
  Q_OBJECT
 public:
  enum class Claim {
    First,           // no other instance: this one runs and listens
    OtherActivated,  // another instance runs and was asked to come forward
    Unguarded,       // neither listening nor reaching another worked; run anyway
  };

  // `socketPath`: where the instances meet; defaultSocketPath() for the program.
  explicit InstanceGuard(QString socketPath, QObject* parent = nullptr);
  ~InstanceGuard() override;

  Claim claim();
  // Stops answering other starts (the window has closed): a start while this
  // process ends then runs on its own instead of activating a closed window.
  void release();
  const QString& socketPath() const { return socketPath_; }

  // $ORX_INSTANCE_SOCKET when set (tests), else userSocketPath(). Empty when
  // no safe place is found: claim() then runs unguarded.
  static QString defaultSocketPath();

 signals:
  // Another start asked this instance to come to the front.
  void activationRequested();

 private:
  bool tellRunningInstance();
  void onNewConnection();

  QString socketPath_;
  QLocalServer* server_ = nullptr;
};

}  // namespace orx
