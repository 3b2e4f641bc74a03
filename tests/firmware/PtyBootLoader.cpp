#include "PtyBootLoader.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace orx::test {

using Clock = std::chrono::steady_clock;

PtyBootLoader::~PtyBootLoader() { stop(); }

bool PtyBootLoader::start() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
  const char* name = ptsname(master_);
  if (!name) return false;
  slavePath_ = name;
  // Kept open so the master never sees a hang-up while the link is closed.
  slaveKeeper_ = ::open(name, O_RDWR | O_NOCTTY);
  if (slaveKeeper_ < 0) return false;
  termios t{};
  tcgetattr(slaveKeeper_, &t);
  cfmakeraw(&t);
  tcsetattr(slaveKeeper_, TCSANOW, &t);
  thread_ = std::thread([this] { run(); });
  return true;
}

void PtyBootLoader::stop() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
  if (master_ >= 0) ::close(master_);
  slaveKeeper_ = master_ = -1;
}

std::vector<uint8_t> PtyBootLoader::flash() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return flash_;
}

void PtyBootLoader::run() {
  uint8_t buf[16];  // small pieces keep a paced echo flowing like a wire would
  while (!stopping_) {
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) continue;
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) continue;
    send(buf, static_cast<size_t>(n));  // the echo
    for (ssize_t i = 0; i < n; ++i) handle(buf[i]);
  }
}

void PtyBootLoader::send(const uint8_t* data, size_t n) {
  if (baud_ > 0) {
    const auto now = Clock::now();
    if (lineFree_ < now) lineFree_ = now;
    lineFree_ += std::chrono::microseconds(static_cast<long long>(n) * 10 * 1000000 / baud_);
    std::this_thread::sleep_until(lineFree_);
  }
  size_t done = 0;
  while (done < n) {
    const ssize_t w = ::write(master_, data + done, n - done);
    if (w > 0) {
      done += static_cast<size_t>(w);
    } else if (w < 0 && errno != EAGAIN && errno != EINTR) {
      return;
    }
  }
}

int PtyBootLoader::answerFor(int block) {
  auto it = answers_.find(block);
  const size_t attempt = attempts_[block]++;
  if (it == answers_.end() || attempt >= it->second.size()) return 0x11;
  return it->second[attempt];
}

void PtyBootLoader::handle(uint8_t b) {
  switch (stage_) {
    case Stage::WaitSync:
      if (b == 0xD7) {
        const uint8_t answer = 0xD8;
        send(&answer, 1);
        stage_ = Stage::WaitWake;
      }
      return;
    case Stage::WaitWake:
      if (b == 0xD6) {
        const uint8_t answer = 0xD7;
        send(&answer, 1);
        stage_ = Stage::Blocks;
      } else if (b == 0xD7) {
        const uint8_t answer = 0xD8;
        send(&answer, 1);
      }
      return;
    case Stage::Blocks: {
      block_.push_back(b);
      if (block_.size() < 2) return;
      const size_t length = 256u * block_[0] + block_[1] + 2u;
      if (block_.size() < length) return;
      ++blocksSeen_;
      const int answer = answerFor(blockIndex_);
      if (answer == 0x11) {
        std::lock_guard<std::mutex> lock(mutex_);
        flash_.insert(flash_.end(), block_.begin(), block_.end());
        ++blockIndex_;
      }
      block_.clear();
      if (answer >= 0) {
        const uint8_t byte = static_cast<uint8_t>(answer);
        send(&byte, 1);
      }
      return;
    }
  }
}

}  // namespace orx::test
