#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/InstanceGuard.h"

namespace orx {
namespace {

// A folder only this user can enter: created 0700, or found so. Anything else
// (a link, another owner, a mode that lets others in) may be someone's trap.
bool privateFolder(const QByteArray& path) {
  if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & 077) == 0;
}

}  // namespace

QString userSocketPath() {
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

}  // namespace orx
