#include "tools/PtyDevice.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "tools/TempFolder.h"

namespace orx::sim {

PtyDevice::PtyDevice(std::string linkName) : linkName_(std::move(linkName)) {}

PtyDevice::~PtyDevice() {
  unplug();
  if (!dir_.empty()) ::rmdir(dir_.c_str());
}

bool PtyDevice::plug() {
  unplug();
  if (dir_.empty()) {
    dir_ = makeTempFolder("orx-sim-", error_);
    if (dir_.empty()) return false;
    linkPath_ = dir_ + "/" + linkName_;
  }
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) {
    error_ = std::string("posix_openpt: ") + std::strerror(errno);
    return false;
  }
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    error_ = std::string("grantpt/unlockpt: ") + std::strerror(errno);
    ::close(master);
    return false;
  }
  char name[128] = {};
  if (::ptsname_r(master, name, sizeof name) != 0) {
    error_ = std::string("ptsname: ") + std::strerror(errno);
    ::close(master);
    return false;
  }
  slavePath_ = name;
  // Holding the slave open keeps the master readable while the program has
  // the port closed (otherwise every read of the master fails with EIO).
  const int keeper = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (keeper < 0) {
    error_ = std::string("open slave: ") + std::strerror(errno);
    ::close(master);
    return false;
  }
  // Raw from the start: a slave left in cooked mode would echo our replies
  // straight back to us.
  termios tio{};
  if (::tcgetattr(keeper, &tio) == 0) {
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(keeper, TCSANOW, &tio);
  }
  const int flags = ::fcntl(master, F_GETFL);
  ::fcntl(master, F_SETFL, flags | O_NONBLOCK);

  ::unlink(linkPath_.c_str());
  if (::symlink(name, linkPath_.c_str()) != 0) {
    error_ = std::string("symlink: ") + std::strerror(errno);
    ::close(keeper);
    ::close(master);
    return false;
  }
  master_ = master;
  slaveKeeper_ = keeper;
  return true;
}

void PtyDevice::unplug() {
  if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
  if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
  if (master_ >= 0) ::close(master_);
  slaveKeeper_ = -1;
  master_ = -1;
}

std::size_t PtyDevice::readAvailable(std::uint8_t* buffer, std::size_t capacity) {
  if (master_ < 0 || capacity == 0) return 0;
  for (;;) {
    const ssize_t n = ::read(master_, buffer, capacity);
    if (n > 0) return static_cast<std::size_t>(n);
    if (n < 0 && errno == EINTR) continue;
    return 0;
  }
}

bool PtyDevice::writeAll(const std::uint8_t* data, std::size_t size, int timeoutMs) {
  std::size_t done = 0;
  while (done < size) {
    if (master_ < 0) return false;
    const ssize_t n = ::write(master_, data + done, size - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    pollfd p{master_, POLLOUT, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return false;
  }
  return true;
}

void PtyDevice::waitSlaveDrained(int timeoutMs) const {
  // Written bytes reach the slave's queue a moment later (the kernel hands
  // them over on a work queue), so first wait to see them queued, then
  // until the program has read them.
  bool seen = false;
  for (int waited = 0; slaveKeeper_ >= 0 && waited < timeoutMs; waited += 2) {
    int queued = 0;
    if (::ioctl(slaveKeeper_, FIONREAD, &queued) != 0) return;
    if (queued > 0) seen = true;
    if (queued <= 0 && (seen || waited >= 50)) return;
    ::usleep(2000);
  }
}

unsigned PtyDevice::currentBaud() const { return ptySlaveBaud(master_); }

}  // namespace orx::sim
