#include <unistd.h>

#include <QDir>
#include <QFileInfo>

#include "app/InstanceGuard.h"

namespace orx {

QString userSocketPath() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable()) {
    return QDir(runtime).filePath("orx-device-manager.sock");
  }
  return QDir(QDir::tempPath()).filePath(QString("orx-device-manager-%1.sock").arg(::getuid()));
}

}  // namespace orx
