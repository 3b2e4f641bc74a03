#include "firmware/SocketDfuBus.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "firmware/VirtualDfuWire.h"

namespace orx {

namespace {

using Clock = std::chrono::steady_clock;
// Describe, Names and SetAlternate stand for descriptor reads and a
// SET_INTERFACE, which the bus answers at once.
constexpr int kDescriptorTimeoutMs = 2000;

int connectTo(const std::string& path) {
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return -1;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// One connection to the simulated device. After any failure it is closed:
// a reply left half-read would answer the next request.
class Connection {
 public:
  explicit Connection(int fd) : fd_(fd) {}
  ~Connection() { close(); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Sends `request`, reads the reply into `payload` (at most `limit` bytes).
  UsbResult exchange(const vdfu::Request& request, std::vector<uint8_t>& payload, size_t limit, int timeoutMs) {
    payload.clear();
    if (fd_ < 0) return UsbResult::Gone;
    const std::vector<uint8_t> bytes = vdfu::encodeRequest(request);
    if (!sendAll(bytes)) return fail(UsbResult::Gone);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::array<uint8_t, vdfu::kReplyHeader> header{};
    if (const UsbResult r = readExactly(header.data(), header.size(), deadline); r != UsbResult::Ok) return fail(r);
    const std::optional<vdfu::ReplyHeader> reply = vdfu::decodeReplyHeader(header);
    if (!reply || reply->length > limit) return fail(UsbResult::Error);
    payload.resize(reply->length);
    if (const UsbResult r = readExactly(payload.data(), payload.size(), deadline); r != UsbResult::Ok) {
      payload.clear();
      return fail(r);
    }
    return reply->result;
  }

 private:
  UsbResult fail(UsbResult result) {
    close();
    return result;
  }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  bool sendAll(const std::vector<uint8_t>& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      sent += size_t(n);
    }
    return true;
  }

  UsbResult readExactly(uint8_t* into, size_t size, Clock::time_point deadline) {
    size_t got = 0;
    while (got < size) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return UsbResult::Timeout;
      pollfd p{fd_, POLLIN, 0};
      const int ready = ::poll(&p, 1, int(left));
      if (ready < 0 && errno == EINTR) continue;
      if (ready == 0) return UsbResult::Timeout;
      const ssize_t n = ready < 0 ? -1 : ::recv(fd_, into + got, size - got, 0);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return UsbResult::Gone;  // the device went away
      got += size_t(n);
    }
    return UsbResult::Ok;
  }

  int fd_;
};

vdfu::Request plain(vdfu::Op op, uint16_t value = 0) {
  vdfu::Request r;
  r.op = op;
  r.value = value;
  return r;
}

class SocketDfuHandle : public DfuDeviceHandle {
 public:
  explicit SocketDfuHandle(int fd) : connection_(fd) {}

  UsbResult setAlternate(uint8_t alternate) override {
    std::vector<uint8_t> none;
    return connection_.exchange(plain(vdfu::Op::SetAlternate, alternate), none, 0, kDescriptorTimeoutMs);
  }

  std::vector<std::string> alternateNames() override {
    std::vector<uint8_t> payload;
    if (connection_.exchange(plain(vdfu::Op::Names), payload, 0xFFFF, kDescriptorTimeoutMs) != UsbResult::Ok) return {};
    return vdfu::decodeNames(payload);
  }

  UsbResult controlOut(DfuRequest request, uint16_t value, std::span<const uint8_t> data, int timeoutMs) override {
    if (data.size() > 0xFFFF) return UsbResult::Error;
    vdfu::Request r = plain(vdfu::Op::Out, value);
    r.request = uint8_t(request);
    r.data.assign(data.begin(), data.end());
    std::vector<uint8_t> none;
    return connection_.exchange(r, none, 0, timeoutMs);
  }

  UsbResult controlIn(DfuRequest request, uint16_t value, std::span<uint8_t> data, size_t& received,
                      int timeoutMs) override {
    received = 0;
    vdfu::Request r = plain(vdfu::Op::In, value);
    r.request = uint8_t(request);
    r.length = uint16_t(std::min<size_t>(data.size(), 0xFFFF));
    std::vector<uint8_t> payload;
    const UsbResult result = connection_.exchange(r, payload, r.length, timeoutMs);
    std::copy(payload.begin(), payload.end(), data.begin());
    received = payload.size();
    return result;
  }

 private:
  Connection connection_;
};

}  // namespace

std::vector<DfuDeviceInfo> SocketDfuBus::listDfuDevices() {
  const int fd = connectTo(socketPath_);
  if (fd < 0) return {};
  Connection connection(fd);
  std::vector<uint8_t> payload;
  if (connection.exchange(plain(vdfu::Op::Describe), payload, 0xFFFF, kDescriptorTimeoutMs) != UsbResult::Ok) return {};
  const std::optional<vdfu::Description> d = vdfu::decodeDescription(payload);
  if (!d) return {};
  DfuDeviceInfo info;
  info.path = devicePath();
  info.description = d->product;
  info.vendorId = d->vendorId;
  info.productId = d->productId;
  info.transferSize = d->transferSize;
  info.node = socketPath_;
  return {info};
}

std::unique_ptr<DfuDeviceHandle> SocketDfuBus::open(const std::string& path, UsbResult& result) {
  result = UsbResult::NotFound;
  if (path != devicePath()) return nullptr;
  const int fd = connectTo(socketPath_);
  if (fd < 0) return nullptr;
  result = UsbResult::Ok;
  return std::make_unique<SocketDfuHandle>(fd);
}

}  // namespace orx
