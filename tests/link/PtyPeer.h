// The far end of a pseudo-terminal, playing the adapter and ESC for the link
// tests: the link opens the slave, the peer holds the master. It can echo what
// it receives (the CP210x line) and answer by script, reads the rate the link
// set from the master's settings, and can be "unplugged" by closing the master.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orx::test {

using Bytes = std::vector<uint8_t>;

struct PeerReply {
  Bytes bytes;
  int delayMs = 0;  // before the reply goes out
};

class PtyPeer {
 public:
  PtyPeer();
  ~PtyPeer();
  PtyPeer(const PtyPeer&) = delete;
  PtyPeer& operator=(const PtyPeer&) = delete;

  bool ok() const { return master_ >= 0; }
  const std::string& slavePath() const { return slavePath_; }
  int masterFd() const { return master_; }
  // The rate the program set on the slave side, -1 when unknown.
  int slaveBaud() const;

  // Bytes to the program (they arrive on the slave).
  bool send(const Bytes& bytes);
  // Whatever the program wrote, collected for `ms` (only without a script).
  Bytes collect(int ms);

  // Runs a script on a thread: every byte the program writes is echoed first
  // when `echo` is set, then appended to `pending`; when the handler returns a
  // reply, it goes out and `pending` is emptied.
  using Handler = std::function<std::optional<PeerReply>(Bytes& pending)>;
  void serve(bool echo, Handler handler);
  void stop();
  // Every byte the script has received, and the slave rate seen at each.
  Bytes received() const;
  std::vector<int> ratesSeen() const;

  // Closes the master: the slave behaves like an unplugged device.
  void unplug();

 private:
  void run(bool echo, Handler handler);

  int master_ = -1;
  int keeper_ = -1;  // keeps the slave's settings while the link has it closed
  std::string slavePath_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  Bytes received_;
  std::vector<int> rates_;
};

// Milliseconds a call took.
template <class F>
long long elapsedMs(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace orx::test
