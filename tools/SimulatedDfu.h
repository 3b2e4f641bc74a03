// The NVQ ESC's USB DFU boot loader, simulated: a DfuSeDevice served on a
// Unix socket in a private temp folder, in the wire format the program's
// virtual DFU bus speaks (firmware/VirtualDfuWire.h). The program finds it
// through ORX_VIRTUAL_DFU='PATH'; it is present while plugged, and leaves
// (socket gone) once told to start its application.
//
// Threads: start() spawns the serve thread, which alone reads and answers
// the clients; plug(), unplug() and the accessors may be called from any
// other thread. The left listener runs on the serve thread, with no lock held.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "firmware/VirtualDfuWire.h"
#include "tools/DfuSeDevice.h"
#include "tools/FaultPlan.h"

namespace orx::sim {

// The boot loader's flash: 64 pages of 1 KB from 0x08000000, all erasable.
inline constexpr const char* kEscDfuMap = "@Internal Flash  /0x08000000/64*001Kg";

class SimulatedDfu {
 public:
  SimulatedDfu();
  ~SimulatedDfu();
  SimulatedDfu(const SimulatedDfu&) = delete;
  SimulatedDfu& operator=(const SimulatedDfu&) = delete;

  // Makes the folder and starts serving, unplugged. False with error().
  bool start();
  void stop();
  std::string error() const;

  // "/tmp/orx-dfu-AbC123/dfu"
  const std::string& socketPath() const { return socketPath_; }
  // "ORX_VIRTUAL_DFU='/tmp/orx-dfu-AbC123/dfu'"
  std::string exportLine() const;

  // The boot loader starts (idle, flash kept) / the device is gone.
  bool plug();
  void unplug();
  bool present() const { return present_.load(); }

  // Told once the device has left for its application (it is unplugged by
  // then), and whether firmware was downloaded since it was plugged in.
  void setLeftListener(std::function<void(bool flashed)> listener) { leftListener_ = std::move(listener); }
  // Faults on DfuErase and DfuDownload spoil the status that ends the step.
  void addFault(const Fault& fault);

  // The model; lock its mutex (read() does) while the device may be served.
  DfuSeDevice& device() { return device_; }

 private:
  struct Client {
    int fd = -1;
    std::vector<std::uint8_t> buffer;
  };
  void serve();
  // Answers the complete requests in `client`; false when it must be dropped.
  bool answer(Client& client, bool& left, bool& vanish);
  // The reply to one request (empty: none). `left`: the device has gone to
  // its application; `vanish`: a fault unplugs it.
  std::vector<std::uint8_t> reply(const vdfu::Request& request, bool& left, bool& vanish);
  void unplugLocked();

  DfuSeDevice device_{64 * 1024};
  std::string dir_;
  std::string socketPath_;
  mutable std::mutex mutex_;  // everything below, and serving one request
  std::string error_;
  FaultPlan faults_;
  int listenFd_ = -1;
  std::vector<Client> clients_;
  unsigned long generation_ = 0;  // bumped by every plug and unplug
  std::atomic<bool> present_{false};
  std::function<void(bool)> leftListener_;
  std::size_t blocksAtPlug_ = 0;
  int wakePipe_[2] = {-1, -1};
  std::atomic<bool> running_{false};
  std::thread thread_;
};

}  // namespace orx::sim
