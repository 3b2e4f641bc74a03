#include "PtyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include "link/LineSettings.h"

namespace orx::test {

PtyPeer::PtyPeer() {
  const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  if (grantpt(fd) != 0 || unlockpt(fd) != 0) {
    ::close(fd);
    return;
  }
  char name[128] = {};
  if (ptsname_r(fd, name, sizeof name) != 0) {
    ::close(fd);
    return;
  }
  master_ = fd;
  slavePath_ = name;
  keeper_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  setRawKeepBaud(master_);
}

PtyPeer::~PtyPeer() {
  stop();
  if (keeper_ >= 0) ::close(keeper_);
  if (master_ >= 0) ::close(master_);
}

int PtyPeer::slaveBaud() const { return master_ >= 0 ? lineBaud(master_) : -1; }

bool PtyPeer::send(const Bytes& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      pollfd p{master_, POLLOUT, 0};
      ::poll(&p, 1, 10);
    } else {
      return false;
    }
  }
  return true;
}

Bytes PtyPeer::collect(int ms) {
  Bytes out;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, 5) > 0 && (p.revents & POLLIN)) {
      uint8_t buf[512];
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0) out.insert(out.end(), buf, buf + n);
    }
  }
  return out;
}

void PtyPeer::serve(bool echo, Handler handler) {
  stop();
  stopping_ = false;
  thread_ = std::thread([this, echo, handler = std::move(handler)] { run(echo, handler); });
}

void PtyPeer::stop() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

Bytes PtyPeer::received() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

std::vector<int> PtyPeer::ratesSeen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return rates_;
}

void PtyPeer::run(bool echo, Handler handler) {
  Bytes pending;
  while (!stopping_) {
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, 5) <= 0 || !(p.revents & POLLIN)) continue;
    uint8_t byte = 0;
    if (::read(master_, &byte, 1) != 1) continue;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      received_.push_back(byte);
      rates_.push_back(slaveBaud());
    }
    if (echo) send({byte});
    pending.push_back(byte);
    if (!handler) continue;
    if (auto reply = handler(pending)) {
      pending.clear();
      if (reply->delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(reply->delayMs));
      send(reply->bytes);
    }
  }
}

void PtyPeer::unplug() {
  stop();
  if (keeper_ >= 0) ::close(keeper_);
  keeper_ = -1;
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

}  // namespace orx::test
