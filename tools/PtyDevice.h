// A pseudo-terminal that stands in for a USB serial device. The program opens
// the slave through a symlink in a private folder; "unplugging" removes the
// symlink and closes the master, so an open slave gets EIO/HUP like a real
// device that went away.
//
// Not thread-safe: one thread (the simulator's serve thread) owns it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orx::sim {

class PtyDevice {
 public:
  // `linkName` is the symlink's file name inside a new private temp folder.
  explicit PtyDevice(std::string linkName);
  ~PtyDevice();
  PtyDevice(const PtyDevice&) = delete;
  PtyDevice& operator=(const PtyDevice&) = delete;

  // Opens a new pty (raw, 9600 baud) and points the symlink at its slave.
  // False with `error()` set when the system refuses.
  bool plug();
  // Removes the symlink and closes the pty. Harmless when unplugged.
  void unplug();
  bool plugged() const { return master_ >= 0; }

  // The stable path the program opens (valid between plug() and unplug(),
  // and again after the next plug()).
  const std::string& linkPath() const { return linkPath_; }
  const std::string& slavePath() const { return slavePath_; }
  const std::string& error() const { return error_; }

  int masterFd() const { return master_; }

  // Reads what is there without waiting; returns the count, 0 when nothing.
  std::size_t readAvailable(std::uint8_t* buffer, std::size_t capacity);
  // Writes all bytes, waiting at most `timeoutMs` for room; false when the
  // pty went away or stayed full.
  bool writeAll(const std::uint8_t* data, std::size_t size, int timeoutMs = 1000);

  // Waits until the program has read everything written to it, at most
  // `timeoutMs`.
  void waitSlaveDrained(int timeoutMs) const;

  // The baud the slave side is set to now (the program's setting), 0 when
  // unknown.
  unsigned currentBaud() const;

 private:
  std::string linkName_;
  std::string dir_;
  std::string linkPath_;
  std::string slavePath_;
  std::string error_;
  int master_ = -1;
  int slaveKeeper_ = -1;  // keeps the slave side alive while the program has it closed
};

// Baud of the slave side of pty master `fd` (TCGETS2), 0 when unknown.
unsigned ptySlaveBaud(int masterFd);

}  // namespace orx::sim
