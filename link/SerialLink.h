// What the two link classes share: one port, its state fields, the receive
// buffer that every read fills from its start, and the timed read and write.
//
// Threading: a link has no lock. The link worker owns it and calls everything
// on one thread; other threads must not touch it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

#include "link/PortOpener.h"
#include "link/SerialPort.h"

namespace orx {

class SerialLink {
 public:
  static constexpr int kStartBaud = 9600;

  SerialLink(size_t receiveSize, PortOpener opener);
  virtual ~SerialLink();
  SerialLink(const SerialLink&) = delete;
  SerialLink& operator=(const SerialLink&) = delete;

  // 0 = closed, 2 = port open and shown to the user (set by the monitor).
  int AdapterState = 0;
  // 0 = not probed, 1 = ESC silent, 2 = ESC answering (monitor and flows).
  int DeviceState = 0;
  // Baud-cycle counter (the STM32 link only counts).
  int BaudStep = 0;

  bool isOpen() const { return port_ != nullptr; }
  int baud() const { return baud_; }
  void setBaud(int baud) { baud_ = baud; }

  // Results of the last write and read (bytes put out, bytes that came).
  size_t bytesWritten() const { return bytesWritten_; }
  size_t bytesRead() const { return bytesRead_; }

  std::span<uint8_t> receiveBuffer() { return receive_; }
  std::span<const uint8_t> receiveBuffer() const { return receive_; }
  void clearReceiveBuffer();

  // The link worker's stop request (see StopWait.h): reads and BusyWait end
  // at once when it is made. Set before the port opens.
  void setStopToken(std::stop_token stop);
  const std::stop_token& stopToken() const { return stop_; }
  bool stopRequested() const { return stop_.stop_requested(); }

  // Closes the port if open; clears open, AdapterState and DeviceState.
  void Close();
  // Waits `ms` on this thread, or less when a stop is requested. It sleeps
  // until a steady-clock deadline: a spinning wait would burn one of the
  // machine's cores for its whole length.
  void BusyWait(int ms);
  // Drops everything waiting in both directions.
  bool PurgeAll();

  // Reads `n` bytes within `ms` into the receive buffer from its start. More
  // than the buffer holds are still consumed from the line but not kept.
  // Success when at least one byte came; bytesRead() tells how many.
  bool Read(size_t n, int ms);
  // True only when all bytes were written.
  bool Write(std::span<const uint8_t> bytes);
  bool Purge(PurgeWhat what);

  // Pause between reading and applying the settings and after applying them.
  static constexpr int kSettleMs = 60;

 protected:
  // Opens the port for `search` at `baud` (see OpenLink of the subclasses).
  int openAt(const std::string& search, int baud);
  // Closes the port only; the state fields stay (the baud cycle needs that).
  void dropPort();

 private:
  PortOpener opener_;
  std::stop_token stop_;
  std::unique_ptr<SerialPort> port_;
  std::vector<uint8_t> receive_;
  int baud_ = kStartBaud;
  size_t bytesWritten_ = 0;
  size_t bytesRead_ = 0;
};

}  // namespace orx
