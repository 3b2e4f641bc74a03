// Tells when an adapter has just appeared: a device node created in <dev>
// (where the kernel puts a USB tty the moment it is plugged in) or a listed
// virtual port's path created, after which the adapter's search finds a port
// it did not find before. The monitor looks at each link only every few
// ticks; this lets it look at the one that appeared at once.
//
// Threading: a thread of its own that sleeps on inotify until something is
// created; `appeared` runs on that thread. start() and stop() from one other
// thread.
#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "link/PortDiscovery.h"

namespace orx {

class PlugWatcher {
 public:
  // Called with the index in `searches` of the adapter that appeared.
  using Appeared = std::function<void(size_t index)>;

  PlugWatcher(std::vector<std::string> searches, Appeared appeared, DiscoveryRoots roots = {});
  ~PlugWatcher();
  PlugWatcher(const PlugWatcher&) = delete;
  PlugWatcher& operator=(const PlugWatcher&) = delete;

  // False when nothing can be watched (no inotify, no folder to watch); the
  // monitor then finds devices on its own cycle as before.
  bool start();
  void stop();

 private:
  void run(std::vector<bool> present);
  std::vector<bool> lookUp() const;

  std::vector<std::string> searches_;
  Appeared appeared_;
  DiscoveryRoots roots_;
  int inotify_ = -1;
  int stopEvent_ = -1;
  std::thread thread_;
};

}  // namespace orx
