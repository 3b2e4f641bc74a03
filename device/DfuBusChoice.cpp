#include "device/DfuBusChoice.h"

#include <cstdlib>

#include "firmware/LibusbDfuBus.h"
#include "firmware/SocketDfuBus.h"

namespace orx {

std::unique_ptr<DfuBus> MakeDfuBus() {
  const char* path = std::getenv(kVirtualDfuVariable);
  if (path != nullptr && *path != '\0') return std::make_unique<SocketDfuBus>(path);
  return std::make_unique<LibusbDfuBus>();
}

}  // namespace orx
