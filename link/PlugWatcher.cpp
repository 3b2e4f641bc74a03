#include "link/PlugWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "link/VirtualPorts.h"

namespace orx {

PlugWatcher::PlugWatcher(std::vector<std::string> searches, Appeared appeared, DiscoveryRoots roots)
    : searches_(std::move(searches)), appeared_(std::move(appeared)), roots_(std::move(roots)) {}

PlugWatcher::~PlugWatcher() { stop(); }

std::vector<bool> PlugWatcher::lookUp() const {
  std::vector<bool> present;
  for (const std::string& search : searches_) present.push_back(FindPortPath(search, roots_).has_value());
  return present;
}

bool PlugWatcher::start() {
  if (thread_.joinable()) return true;
  inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  stopEvent_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (inotify_ < 0 || stopEvent_ < 0) {
    stop();
    return false;
  }
  std::vector<std::string> folders{roots_.dev};
  const char* listed = roots_.virtualPorts ? roots_.virtualPorts->c_str() : std::getenv(kVirtualPortsVariable);
  if (listed)
    for (const auto& [id, path] : parseVirtualPorts(listed))
      folders.push_back(std::filesystem::path(path).parent_path().string());
  bool watching = false;
  for (const std::string& folder : folders)
    watching = ::inotify_add_watch(inotify_, folder.c_str(), IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM) >= 0 || watching;
  if (!watching) {
    stop();
    return false;
  }
  thread_ = std::thread([this, present = lookUp()] { run(present); });
  return true;
}

void PlugWatcher::stop() {
  if (thread_.joinable()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopEvent_, &one, sizeof one);
    thread_.join();
  }
  for (int* fd : {&inotify_, &stopEvent_}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

void PlugWatcher::run(std::vector<bool> present) {
  while (true) {
    pollfd fds[2] = {{inotify_, POLLIN, 0}, {stopEvent_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    // What changed does not matter, only what the searches find now; a removal
    // is looked at too, so that the next plugging in counts as new.
    alignas(inotify_event) char events[4096];
    while (::read(inotify_, events, sizeof events) > 0) {
    }
    const std::vector<bool> now = lookUp();
    for (size_t i = 0; i < now.size(); ++i)
      if (now[i] && !present[i]) appeared_(i);
    present = now;
  }
}

}  // namespace orx
