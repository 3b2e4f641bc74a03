#include <windows.h>

#include "app/InstanceGuard.h"

namespace orx {

QString userSocketPath() {
  // Qt makes a bare name the pipe \\.\pipe\<name>; a name holds no backslash.
  wchar_t user[257] = {};
  DWORD size = 257;
  QString name = GetUserNameW(user, &size) ? QString::fromWCharArray(user) : qEnvironmentVariable("USERNAME");
  name.replace('\\', '_');
  return "orx-device-manager-" + name;
}

}  // namespace orx
