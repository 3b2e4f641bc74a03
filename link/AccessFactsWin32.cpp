// Windows has no udev rules and no owning groups for a COM port: a port that
// will not open is held by another program, so there are no facts to add.
#include "link/AccessProblem.h"

namespace orx {

AccessFacts LookUpAccessFacts(const AccessProblem&, const std::vector<std::string>&) { return {}; }

}  // namespace orx
