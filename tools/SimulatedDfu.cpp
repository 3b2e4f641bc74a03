#include "tools/SimulatedDfu.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "firmware/VirtualDfuWire.h"
#include "tools/TempFolder.h"

namespace orx::sim {

namespace {

constexpr int kPollMs = 50;
constexpr std::uint16_t kVendor = 0x0483;   // the STM32 boot loader's USB id
constexpr std::uint16_t kProduct = 0xDF11;

bool sendAll(int fd, const std::vector<std::uint8_t>& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

SimulatedDfu::SimulatedDfu() {
  device_.alternateNames = {kEscDfuMap};
  device_.firstErasable = DfuSeDevice::kBase;
  device_.transferSize = 1024;
  device_.product = "STM32  BOOTLOADER";
}

SimulatedDfu::~SimulatedDfu() { stop(); }

bool SimulatedDfu::start() {
  if (running_) return true;
  std::lock_guard lock(mutex_);
  if (dir_.empty()) {
    dir_ = makeTempFolder("orx-dfu-", error_);
    if (dir_.empty()) return false;
    socketPath_ = dir_ + "/dfu";
  }
  if (::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    error_ = "cannot create a pipe";
    return false;
  }
  running_ = true;
  thread_ = std::thread([this] { serve(); });
  return true;
}

void SimulatedDfu::stop() {
  if (running_.exchange(false)) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakePipe_[1], &c, 1);
    thread_.join();
  }
  std::lock_guard lock(mutex_);
  unplugLocked();
  for (int& fd : wakePipe_) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  if (!dir_.empty()) ::rmdir(dir_.c_str());
  dir_.clear();
}

std::string SimulatedDfu::error() const {
  std::lock_guard lock(mutex_);
  return error_;
}

std::string SimulatedDfu::exportLine() const { return "ORX_VIRTUAL_DFU='" + socketPath_ + "'"; }

bool SimulatedDfu::plug() {
  std::lock_guard lock(mutex_);
  if (listenFd_ >= 0) return true;
  sockaddr_un address{};
  if (socketPath_.empty() || socketPath_.size() >= sizeof address.sun_path) {
    error_ = "no folder for the DFU socket (not started)";
    return false;
  }
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socketPath_.data(), socketPath_.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ::unlink(socketPath_.c_str());
  if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0) {
    error_ = std::string("DFU socket: ") + std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return false;
  }
  listenFd_ = fd;
  // A boot loader that starts is idle; its flash is what it was.
  device_.reset();
  {
    std::lock_guard deviceLock(device_.mutex);
    device_.left = false;
    blocksAtPlug_ = device_.dataBlocks.size();
  }
  present_ = true;
  ++generation_;
  const char c = 1;
  [[maybe_unused]] const ssize_t n = ::write(wakePipe_[1], &c, 1);
  return true;
}

void SimulatedDfu::unplug() {
  std::lock_guard lock(mutex_);
  unplugLocked();
}

void SimulatedDfu::unplugLocked() {
  if (listenFd_ >= 0) {
    ::close(listenFd_);
    ::unlink(socketPath_.c_str());
  }
  listenFd_ = -1;
  for (Client& c : clients_) ::close(c.fd);
  clients_.clear();
  present_ = false;
  ++generation_;
}

void SimulatedDfu::addFault(const Fault& fault) {
  std::lock_guard lock(mutex_);
  faults_.add(fault);
}

std::vector<std::uint8_t> SimulatedDfu::reply(const vdfu::Request& r, bool& left, bool& vanish) {
  switch (r.op) {
    case vdfu::Op::Describe:
      return vdfu::encodeReply(UsbResult::Ok,
                               vdfu::encodeDescription({kVendor, kProduct, device_.transferSize, device_.product}));
    case vdfu::Op::SetAlternate:
      return vdfu::encodeReply(r.value < device_.alternateNames.size() ? UsbResult::Ok : UsbResult::Stall);
    case vdfu::Op::Names: return vdfu::encodeReply(UsbResult::Ok, vdfu::encodeNames(device_.alternateNames));
    case vdfu::Op::Out: return vdfu::encodeReply(device_.out(DfuRequest(r.request), r.value, r.data));
    case vdfu::Op::In: break;
  }
  const DfuSeDevice::Step step = device_.pendingStep();
  std::vector<std::uint8_t> payload(r.length);
  std::size_t received = 0;
  const UsbResult result = device_.in(DfuRequest(r.request), payload, received);
  payload.resize(received);
  {
    std::lock_guard deviceLock(device_.mutex);
    left = device_.left;
  }
  const bool faultable = step == DfuSeDevice::Step::Erase || step == DfuSeDevice::Step::Block;
  Output out;
  if (result != UsbResult::Ok || !faultable ||
      !faults_.reply(step == DfuSeDevice::Step::Erase ? Command::DfuErase : Command::DfuDownload, payload, out)) {
    return vdfu::encodeReply(result, payload);
  }
  if (out.vanishAt) {
    // Gone during the reply: the host gets the header and what made it out.
    vanish = true;
    std::vector<std::uint8_t> bytes = vdfu::encodeReply(result, payload);
    bytes.resize(*out.vanishAt == 0 ? 0 : vdfu::kReplyHeader + *out.vanishAt);
    return bytes;
  }
  if (out.bytes.empty()) return {};  // silence: the host's request times out
  return vdfu::encodeReply(result, out.bytes);
}

bool SimulatedDfu::answer(Client& client, bool& left, bool& vanish) {
  while (client.buffer.size() >= vdfu::kRequestHeader) {
    const std::optional<vdfu::Request> header =
        vdfu::decodeRequestHeader(std::span<const std::uint8_t, vdfu::kRequestHeader>(client.buffer.data(),
                                                                                      vdfu::kRequestHeader));
    if (!header) return false;  // not our format: hang up
    const std::size_t whole = vdfu::kRequestHeader + vdfu::payloadLength(*header);
    if (client.buffer.size() < whole) return true;
    vdfu::Request request = *header;
    request.data.assign(client.buffer.begin() + vdfu::kRequestHeader, client.buffer.begin() + std::ptrdiff_t(whole));
    client.buffer.erase(client.buffer.begin(), client.buffer.begin() + std::ptrdiff_t(whole));
    const std::vector<std::uint8_t> bytes = reply(request, left, vanish);
    if (!bytes.empty() && !sendAll(client.fd, bytes)) return false;
    if (left || vanish) return true;
  }
  return true;
}

void SimulatedDfu::serve() {
  std::array<std::uint8_t, 4096> chunk{};
  while (running_) {
    std::vector<pollfd> fds{{wakePipe_[0], POLLIN, 0}};
    unsigned long generation = 0;
    {
      std::lock_guard lock(mutex_);
      generation = generation_;
      if (listenFd_ >= 0) fds.push_back({listenFd_, POLLIN, 0});
      for (const Client& c : clients_) fds.push_back({c.fd, POLLIN, 0});
    }
    if (::poll(fds.data(), fds.size(), kPollMs) <= 0) continue;
    if (fds[0].revents & POLLIN) {
      char drain[64];
      while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
      }
    }
    bool left = false;
    bool vanish = false;
    bool flashed = false;
    {
      std::lock_guard lock(mutex_);
      if (generation != generation_) continue;  // plugged or unplugged meanwhile: poll afresh
      std::size_t at = 1;
      if (listenFd_ >= 0) {
        if (fds[at].revents & POLLIN) {
          const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
          if (fd >= 0) clients_.push_back({fd, {}});
        }
        ++at;
      }
      for (std::size_t i = 0; at + i < fds.size() && !left && !vanish; ++i) {
        Client& client = clients_[i];
        if ((fds[at + i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
        const ssize_t n = ::recv(client.fd, chunk.data(), chunk.size(), 0);
        const bool keep = n > 0 && (client.buffer.insert(client.buffer.end(), chunk.begin(), chunk.begin() + n),
                                    answer(client, left, vanish));
        if (!keep) {
          ::close(client.fd);
          client.fd = -1;
        }
      }
      std::erase_if(clients_, [](const Client& c) { return c.fd < 0; });
      if (left || vanish) unplugLocked();
      std::lock_guard deviceLock(device_.mutex);
      flashed = device_.dataBlocks.size() > blocksAtPlug_;
    }
    if (left && leftListener_) leftListener_(flashed);
  }
}

}  // namespace orx::sim
