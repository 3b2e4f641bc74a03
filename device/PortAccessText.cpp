#include "device/PortAccessText.h"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace orx {

std::optional<std::string> PortAccessText(const std::string& path, int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return std::nullopt;  // unplugged between the lookup and the open
    case EACCES:
    case EPERM:
      return "CANNOT OPEN " + path + " - NO PERMISSION FOR THE PORT";
    case EBUSY:
      return "CANNOT OPEN " + path + " - ANOTHER PROGRAM IS USING THE PORT";
    default: {
      std::string reason = std::strerror(error);
      for (char& c : reason) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      return "CANNOT OPEN " + path + " - " + reason;
    }
  }
}

}  // namespace orx
