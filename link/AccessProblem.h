// A device that is plugged in but that this program cannot open: the user
// must be told which one, why, and what to run so that it opens next time.
// On Linux the cause is nearly always a missing permission (no udev rule, not
// in the owning group) or another program holding the device (ModemManager
// probing a new serial port, a terminal program, a second flashing tool).
#pragma once

#include <string>
#include <vector>

namespace orx {

enum class AccessDevice { Cp210xAdapter, NvqPort, DfuBootLoader };

struct AccessProblem {
  AccessDevice device = AccessDevice::NvqPort;
  unsigned vendor = 0;   // the USB id shown to the user
  unsigned product = 0;
  std::string path;      // the device node that would not open
  int error = 0;         // why, as an errno value

  bool operator==(const AccessProblem&) const = default;
};

// A serial adapter whose tty would not open.
AccessProblem SerialAccessProblem(AccessDevice device, const std::string& path, int error);

// Tells a problem on its second sighting in a row, once: udev sets a new
// device's permissions a moment after its node appears, so one refusal right
// after plugging in is no problem yet.
class AccessProblemFilter {
 public:
  bool tellNow(const AccessProblem& problem);

 private:
  std::vector<AccessProblem> seen_;  // the last one per device
  std::vector<AccessProblem> told_;
};

// Where this program's udev rule is looked for, most specific first.
std::vector<std::string> DefaultRuleFiles();

// What the system says about the fix: the rule file found (empty when none
// is installed) and the group owning the device node (empty for root or an
// unreadable node, where joining the group gives nothing).
struct AccessFacts {
  std::string installedRule;
  std::string owningGroup;
  std::string userName;  // who runs this program, for the group command
};
AccessFacts LookUpAccessFacts(const AccessProblem& problem, const std::vector<std::string>& ruleFiles);

// One paragraph naming the device, where it is plugged in and the reason.
std::string AccessProblemSummary(const AccessProblem& problem);
// The commands that fix it, for this system's facts.
std::string AccessProblemFix(const AccessProblem& problem, const AccessFacts& facts);

}  // namespace orx
