#include "link/SerialLink.h"

#include <algorithm>
#include <chrono>

#include "link/StopWait.h"

namespace orx {

SerialLink::SerialLink(size_t receiveSize, PortOpener opener)
    : opener_(std::move(opener)), receive_(receiveSize, 0) {}

SerialLink::~SerialLink() = default;

void SerialLink::clearReceiveBuffer() { std::fill(receive_.begin(), receive_.end(), 0); }

int SerialLink::openAt(const std::string& search, int baud) {
  if (port_) return 0;
  if (!opener_) return 1;
  auto port = opener_(search);
  if (!port) return 1;
  port_ = std::move(port);
  port_->watchStop(stop_);
  // Settings that cannot be applied leave the port as it was; it still counts as open.
  BusyWait(kSettleMs);
  if (port_->configure(baud)) {
    BusyWait(kSettleMs);
    clearReceiveBuffer();
    port_->purge(PurgeWhat::Both);
  }
  return 0;
}

void SerialLink::setStopToken(std::stop_token stop) {
  stop_ = std::move(stop);
  if (port_) port_->watchStop(stop_);
}

void SerialLink::dropPort() { port_.reset(); }

void SerialLink::Close() {
  port_.reset();
  AdapterState = 0;
  DeviceState = 0;
}

void SerialLink::BusyWait(int ms) { SleepUnlessStopped(stop_, std::chrono::milliseconds(ms)); }

bool SerialLink::PurgeAll() { return Purge(PurgeWhat::Both); }

bool SerialLink::Purge(PurgeWhat what) { return port_ && port_->purge(what); }

bool SerialLink::Read(size_t n, int ms) {
  bytesRead_ = 0;
  if (!port_) return false;
  if (n == 0) return true;
  const auto start = std::chrono::steady_clock::now();
  const size_t kept = std::min(n, receive_.size());
  PortRead outcome = port_->read(std::span<uint8_t>(receive_.data(), kept), ms);
  bytesRead_ = outcome.count;
  if (outcome.status == ReadStatus::Complete && n > kept) {
    // The rest of a long echo: consume it within the same time limit, keep nothing.
    std::vector<uint8_t> spill(n - kept);
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    const PortRead rest = port_->read(spill, std::max<int>(0, ms - static_cast<int>(spent.count())));
    bytesRead_ += rest.count;
    if (rest.status != ReadStatus::Complete) outcome.status = ReadStatus::Short;
  }
  return outcome.succeeded();
}

bool SerialLink::Write(std::span<const uint8_t> bytes) {
  bytesWritten_ = 0;
  if (!port_) return false;
  if (!port_->write(bytes)) return false;
  bytesWritten_ = bytes.size();
  return true;
}

}  // namespace orx
