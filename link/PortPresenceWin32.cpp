#include <windows.h>

#include "link/VirtualPorts.h"

namespace orx {

bool PortPathPresent(const std::string& path) {
  // A device path ("\\.\COM5") has no file to look at, and a COM port linked
  // in by hand (wine's dosdevices) has no DOS device name either: it counts as
  // present, and the open tells. An absent one fails there as ENOENT, which
  // the program passes over in silence like any adapter that is not plugged in.
  if (path.rfind("\\\\.\\", 0) == 0) return true;
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace orx
