#include "SharedControls.h"

namespace orx {

std::vector<std::pair<int, ControlState>> SharedControls::takeChanges() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::pair<int, ControlState>> out;
  for (int id : state_.takeChanged()) out.emplace_back(id, state_.get(id));
  return out;
}

}  // namespace orx
