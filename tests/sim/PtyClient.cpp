#include "PtyClient.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace orx::simtest {

namespace {

speed_t speedOf(unsigned baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B9600;
  }
}

long long nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

PtyClient::~PtyClient() { close(); }

bool PtyClient::open(const std::string& path, unsigned baud) {
  close();
  hungUp_ = false;
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return false;
  if (!setBaud(baud)) {
    close();
    return false;
  }
  purge();
  return true;
}

void PtyClient::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool PtyClient::setBaud(unsigned baud) {
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) return false;
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  ::cfsetispeed(&tio, speedOf(baud));
  ::cfsetospeed(&tio, speedOf(baud));
  return ::tcsetattr(fd_, TCSANOW, &tio) == 0;
}

void PtyClient::purge() {
  if (fd_ >= 0) ::tcflush(fd_, TCIOFLUSH);
}

bool PtyClient::write(const Bytes& bytes) {
  std::size_t done = 0;
  while (fd_ >= 0 && done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      pollfd p{fd_, POLLOUT, 0};
      ::poll(&p, 1, 50);
    } else {
      return false;
    }
  }
  return done == bytes.size();
}

Bytes PtyClient::read(std::size_t n, int timeoutMs) {
  Bytes out;
  const long long end = nowMs() + timeoutMs;
  while (fd_ >= 0 && out.size() < n) {
    const long long left = end - nowMs();
    if (left <= 0) break;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    std::uint8_t buffer[512];
    const std::size_t want = std::min(sizeof buffer, n - out.size());
    const ssize_t got = ::read(fd_, buffer, want);
    if (got > 0) {
      out.insert(out.end(), buffer, buffer + got);
    } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
      hungUp_ = true;
      break;
    } else if (p.revents & POLLHUP) {
      hungUp_ = true;
      break;
    }
  }
  return out;
}

Bytes PtyClient::readUntilSilence(int gapMs, int maxMs) {
  Bytes out;
  const long long end = nowMs() + maxMs;
  while (fd_ >= 0 && nowMs() < end) {
    Bytes more = read(1, gapMs);
    if (more.empty()) break;
    out.insert(out.end(), more.begin(), more.end());
  }
  return out;
}

Bytes PtyClient::exchange(const Bytes& command, std::size_t n, int timeoutMs) {
  purge();
  if (!write(command)) return {};
  return read(n, timeoutMs);
}

}  // namespace orx::simtest
