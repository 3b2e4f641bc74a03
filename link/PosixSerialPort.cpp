#include "link/PosixSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "link/Deadline.h"
#include "link/LineSettings.h"

namespace orx {

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

std::unique_ptr<PosixSerialPort> PosixSerialPort::open(const std::string& path, int* error) {
  auto fail = [error](int reason) {
    if (error != nullptr) *error = reason;
    return nullptr;
  };
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fail(errno);
  if (!isatty(fd)) {
    ::close(fd);
    return fail(ENOTTY);
  }
  if (ioctl(fd, TIOCEXCL) != 0) {
    const int reason = errno;
    ::close(fd);
    return fail(reason);
  }
  // TIOCEXCL does not stop a privileged program; the lock stops every copy of
  // the window and of orx-esc alike, so two of them never share one ESC.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int reason = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    return fail(reason);
  }
  return std::unique_ptr<PosixSerialPort>(new PosixSerialPort(fd));
}

PosixSerialPort::~PosixSerialPort() {
  onStop_.reset();  // waits for a callback running on another thread
  if (stopFd_ >= 0) ::close(stopFd_);
  ioctl(fd_, TIOCNXCL);
  ::close(fd_);
}

void PosixSerialPort::watchStop(std::stop_token stop) {
  onStop_.reset();
  if (stopFd_ < 0) stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stopFd_ < 0 || !stop.stop_possible()) return;
  const int fd = stopFd_;
  onStop_ = std::make_unique<std::stop_callback<std::function<void()>>>(std::move(stop), [fd] {
    const uint64_t one = 1;
    (void)!::write(fd, &one, sizeof one);
  });
}

PortRead PosixSerialPort::read(std::span<uint8_t> into, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  size_t count = 0;
  auto partial = [&](ReadStatus none) {
    return PortRead{count > 0 ? ReadStatus::Short : none, count};
  };
  while (count < into.size()) {
    pollfd p[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    const int ready = ::poll(p, stopFd_ >= 0 ? 2 : 1, remainingMs(deadline));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return partial(ReadStatus::Failed);
    }
    if (ready == 0) return partial(ReadStatus::TimedOut);
    if (p[1].revents & POLLIN) return {ReadStatus::Stopped, count};
    if (p[0].revents & POLLIN) {
      const ssize_t n = ::read(fd_, into.data() + count, into.size() - count);
      if (n > 0) {
        count += static_cast<size_t>(n);
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      return partial(ReadStatus::Failed);  // EOF or EIO: the device is gone
    }
    // Hang-up or error without data: unplugged. Don't sit out the time limit.
    return partial(ReadStatus::Failed);
  }
  return {ReadStatus::Complete, count};
}

bool PosixSerialPort::write(std::span<const uint8_t> bytes) {
  size_t done = 0;
  auto stallDeadline = Clock::now() + std::chrono::milliseconds(kWriteStallMs);
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      stallDeadline = Clock::now() + std::chrono::milliseconds(kWriteStallMs);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;  // EIO, ENXIO...: vanished
    // The output queue is full: a slow line drains it, a stuck one does not.
    // Counted from the last byte taken, since a pty may report room it then refuses.
    const int left = remainingMs(stallDeadline);
    if (left == 0) return false;
    pollfd p{fd_, POLLOUT, 0};
    const int ready = ::poll(&p, 1, left);
    if (ready < 0 && errno != EINTR) return false;
    if (ready > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) return false;
  }
  return true;
}

bool PosixSerialPort::purge(PurgeWhat what) {
  int queue = TCIOFLUSH;
  switch (what) {
    case PurgeWhat::Receive: queue = TCIFLUSH; break;
    case PurgeWhat::Transmit: queue = TCOFLUSH; break;
    case PurgeWhat::Both: queue = TCIOFLUSH; break;
  }
  return ::tcflush(fd_, queue) == 0;
}

bool PosixSerialPort::configure(int baud) { return setRawLine(fd_, baud); }

}  // namespace orx
