// The program's side of a simulated ESC's line, kept minimal and independent
// of link/: open the device path raw, write bytes, read with time limits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orx::simtest {

using Bytes = std::vector<std::uint8_t>;

class PtyClient {
 public:
  PtyClient() = default;
  ~PtyClient();
  PtyClient(const PtyClient&) = delete;
  PtyClient& operator=(const PtyClient&) = delete;

  bool open(const std::string& path, unsigned baud = 9600);
  void close();
  bool isOpen() const { return fd_ >= 0; }
  bool setBaud(unsigned baud);

  // Discards whatever is waiting in both directions.
  void purge();
  bool write(const Bytes& bytes);
  // Reads until `n` bytes came or `timeoutMs` passed; returns what came.
  Bytes read(std::size_t n, int timeoutMs);
  // Reads until the line stayed silent for `gapMs` (at most `maxMs` in all).
  Bytes readUntilSilence(int gapMs, int maxMs = 3000);
  // purge + write + read(n)
  Bytes exchange(const Bytes& command, std::size_t n, int timeoutMs = 1000);

  // True once a read saw the device go away (EIO or hang-up).
  bool hungUp() const { return hungUp_; }

 private:
  int fd_ = -1;
  bool hungUp_ = false;
};

}  // namespace orx::simtest
