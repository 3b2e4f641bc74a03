#include "link/AccessProblem.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "base/Format.h"

namespace orx {

namespace {

constexpr const char* kRuleName = "60-orx-device-manager.rules";

const char* deviceName(AccessDevice device) {
  switch (device) {
    case AccessDevice::Cp210xAdapter: return "The CP210x USB-to-UART adapter";
    case AccessDevice::NvqPort: return "The NVQ series ESC";
    case AccessDevice::DfuBootLoader: return "The ESC's DFU boot loader";
  }
  return "The device";
}

enum class Reason { NoPermission, InUse, Other };

Reason reasonOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM: return Reason::NoPermission;
    case EBUSY: return Reason::InUse;
    default: return Reason::Other;
  }
}

std::string reasonText(int error) {
  switch (reasonOf(error)) {
    case Reason::NoPermission: return "this user has no permission for it";
    case Reason::InUse: return "another program is using it";
    case Reason::Other: break;
  }
  std::string text = std::strerror(error);
  if (!text.empty()) text[0] = char(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

std::string installRuleText() {
  return std::string("install the orx-device-manager package, which brings the udev rule, or copy the rule "
                     "from the project folder:\n    sudo cp resources/linux/") +
         kRuleName + " /etc/udev/rules.d/\n    sudo udevadm control --reload-rules\n";
}

}  // namespace

AccessProblem SerialAccessProblem(AccessDevice device, const std::string& path, int error) {
  AccessProblem p;
  p.device = device;
  p.vendor = device == AccessDevice::Cp210xAdapter ? 0x10C4 : 0x0483;
  p.product = device == AccessDevice::Cp210xAdapter ? 0xEA60 : 0x5740;
  p.path = path;
  p.error = error;
  return p;
}

bool AccessProblemFilter::tellNow(const AccessProblem& problem) {
  auto last = std::find_if(seen_.begin(), seen_.end(), [&](const AccessProblem& p) { return p.device == problem.device; });
  if (last == seen_.end()) {
    seen_.push_back(problem);
    return false;
  }
  const bool again = *last == problem;
  *last = problem;
  if (!again || std::find(told_.begin(), told_.end(), problem) != told_.end()) return false;
  told_.push_back(problem);
  return true;
}

std::vector<std::string> DefaultRuleFiles() {
  return {std::string("/etc/udev/rules.d/") + kRuleName, std::string("/usr/lib/udev/rules.d/") + kRuleName};
}

std::string AccessProblemSummary(const AccessProblem& p) {
  return strprintf("%s (USB id %04X:%04X) is plugged in at %s, but this program cannot open it: %s.",
                   deviceName(p.device), p.vendor, p.product, p.path.c_str(), reasonText(p.error).c_str());
}

std::string AccessProblemFix(const AccessProblem& p, const AccessFacts& facts) {
  // A rule only takes effect when the device is plugged in after it is loaded.
  const std::string replug = "Then unplug the device and plug it in again.";
  switch (reasonOf(p.error)) {
    case Reason::NoPermission: {
      std::string fix;
      if (!facts.installedRule.empty()) {
        fix = "The udev rule " + facts.installedRule +
              " is installed; it gives the user logged in at the desk access when the device is plugged in. "
              "Unplug the device and plug it in again.";
      } else {
        fix = "To fix it, " + installRuleText() + replug;
      }
      if (!facts.owningGroup.empty()) {
        fix += "\nOr join the group that owns the device (this also serves a remote login), then log out and "
               "back in:\n    sudo usermod -aG " + facts.owningGroup + " " + facts.userName;
      }
      return fix;
    }
    case Reason::InUse: {
      std::string fix = "Close the program that holds it (a terminal program, another flashing tool).";
      if (p.device == AccessDevice::DfuBootLoader) return fix;
      fix += " ModemManager probes new serial ports and holds them meanwhile; stop it with:\n"
             "    sudo systemctl stop ModemManager";
      if (p.device == AccessDevice::NvqPort) {
        fix += "\nThe udev rule tells ModemManager to leave the NVQ series alone for good: ";
        fix += facts.installedRule.empty() ? installRuleText() + replug
                                           : facts.installedRule + " is installed. " + replug;
      }
      return fix;
    }
    case Reason::Other:
      return "Unplug the device and plug it in again. If that does not help, the kernel's last messages say "
             "more:\n    sudo dmesg | tail";
  }
  return {};
}

}  // namespace orx
