// The Windows variant of PlugWatcher.cpp. Windows announces new devices to a
// window (WM_DEVICECHANGE), which this layer has none of, so nothing is
// watched: start() says so and the monitor finds adapters on its own cycle.
#include "link/PlugWatcher.h"

namespace orx {

PlugWatcher::PlugWatcher(std::vector<std::string> searches, Appeared appeared, DiscoveryRoots roots)
    : searches_(std::move(searches)), appeared_(std::move(appeared)), roots_(std::move(roots)) {}

PlugWatcher::~PlugWatcher() = default;

bool PlugWatcher::start() { return false; }

void PlugWatcher::stop() {}

}  // namespace orx
