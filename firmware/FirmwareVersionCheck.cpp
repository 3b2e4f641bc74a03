#include "firmware/FirmwareVersionCheck.h"

namespace orx {

namespace {

std::string_view AcceptedFamilies(int hardwareCode) {
  switch (hardwareCode) {
    case 11: return "B";
    case 12: return "C";
    case 13: return "D";
    case 15: return "FA";
    case 68: return "D";
    case 69: return "DFA";
    default: return "";
  }
}

}  // namespace

std::string_view FileNameOf(std::string_view path) {
#ifdef _WIN32
  const size_t cut = path.find_last_of("/\\");
#else
  const size_t cut = path.find_last_of('/');
#endif
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool FirmwareFileFits(int hardwareCode, std::string_view path) {
  const std::string_view name = FileNameOf(path);
  if (name.empty()) return false;
  return AcceptedFamilies(hardwareCode).find(name.front()) != std::string_view::npos;
}

std::string FirmwareFileFilter(std::string_view firmwareVersionText) {
  if (!firmwareVersionText.empty()) {
    const char family = firmwareVersionText.front();
    if (family == 'A' || family == 'B' || family == 'C') return "ORX (*.orx)|*.orx|Files (*.*)|*.*||";
  }
  return "Files (*.*)|*.*||";
}

}  // namespace orx
