// A simulated ESC on a pseudo-terminal, served on a thread of its own.
//
// Threads: start() spawns the serve thread, which alone touches the pty and
// feeds the model. Every public method may be called from any other thread;
// the model is guarded by one mutex, and plugging/unplugging is handed to the
// serve thread and waited for. Do not call these methods from inside a
// withNvq()/withCp210x() callback.
//
//   sim::NvqConfig config;                 // or sim::Cp210xConfig
//   config.version = {0x01, 0x02, 0x15};   // short block layout
//   sim::SimulatedEsc esc(config);
//   esc.start();                           // esc.path(): the device to open
//   esc.addFault({sim::Command::ReadBlock, sim::FaultKind::ShortReply, 1, 0});
//   ... run the program's code against esc.path() ...
//   Bytes block = esc.withNvq([](sim::NvqEsc& m) { return m.block(); });
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>

#include "tools/Cp210xEsc.h"
#include "tools/LinePacer.h"
#include "tools/NvqEsc.h"
#include "tools/PtyDevice.h"
#include "tools/SimulatedDfu.h"

namespace orx::sim {

class SimulatedEsc {
 public:
  explicit SimulatedEsc(const NvqConfig& config);
  explicit SimulatedEsc(const Cp210xConfig& config);
  ~SimulatedEsc();
  SimulatedEsc(const SimulatedEsc&) = delete;
  SimulatedEsc& operator=(const SimulatedEsc&) = delete;

  // Keeps the state in `path`: loaded now when the file exists, written after
  // every change. False with `error()` when the file exists but does not fit.
  bool useStateFile(const std::string& path);

  // Opens the pty, makes the symlink and starts serving. False with error().
  bool start();
  void stop();
  std::string error() const;

  EscKind kind() const { return kind_; }
  // The symlink the program opens, e.g. /tmp/orx-sim-AbC123/nvq.
  std::string path() const;
  // "VID_0483&PID_5740=/tmp/orx-sim-AbC123/nvq"
  std::string virtualPort() const;
  // "ORX_VIRTUAL_PORTS='VID_0483&PID_5740=/tmp/orx-sim-AbC123/nvq'"
  std::string exportLine() const;

  bool present() const { return present_.load(); }
  // Unplugs at once (symlink gone, pty closed).
  void vanish();
  // Plugs in again: a new pty behind the same symlink path.
  bool plugBack();
  // After the NVQ ESC jumps to its USB boot loader, plug back in after `ms`
  // (as the ESC would after a DFU update); negative = stay away. With the
  // DFU boot loader on, counted from the moment it leaves for the application.
  void setReappearAfterLeavingMs(int ms);

  // NVQ: the jump to the boot loader plugs in a simulated USB DFU boot loader
  // (SimulatedDfu) in place of the serial port; once it has been told to
  // start the application, the serial port comes back. Call before start().
  void enableDfu();
  SimulatedDfu* dfu() { return dfu_.get(); }
  // "ORX_VIRTUAL_DFU='...'", or "" without the DFU boot loader.
  std::string dfuExportLine() const;
  // The ESC sits in its boot loader with no application to run: serial port
  // gone, DFU device there; told to leave before firmware was downloaded, it
  // starts in the boot loader again. Needs enableDfu() and start().
  bool enterDfuMode();

  // CP210x line: send each byte no faster than the line's baud allows (ten
  // bit times a byte), so transfers take as long as on real hardware.
  void setLinePacing(bool on) { pace_ = on; }

  // Faults on the DFU commands go to the DFU boot loader.
  void addFault(const Fault& fault);
  // Boot loader answers for firmware block `index`: -1 = no answer.
  void setBootBlockReplies(int index, std::vector<int> replies);
  void clearFaults();

  // Every byte the program wrote, in order.
  Bytes received() const;
  void clearReceived();

  // Runs `f` on the model under the lock. When the kind differs, `f` is not
  // called and a default value is returned.
  template <class F>
  auto withNvq(F&& f) {
    return withModel<NvqEsc>(std::forward<F>(f));
  }
  template <class F>
  auto withCp210x(F&& f) {
    return withModel<Cp210xEsc>(std::forward<F>(f));
  }

 private:
  template <class M, class F>
  auto withModel(F&& f) {
    std::lock_guard lock(mutex_);
    auto* model = dynamic_cast<M*>(model_.get());
    using R = std::invoke_result_t<F, M&>;
    if constexpr (std::is_void_v<R>) {
      if (model != nullptr) f(*model);
      saveIfDirtyLocked();
    } else {
      R result{};
      if (model != nullptr) result = f(*model);
      saveIfDirtyLocked();
      return result;
    }
  }

  void serve();
  void handleBytes(const std::uint8_t* data, std::size_t size);
  void writeOut(const std::uint8_t* data, std::size_t size, unsigned baud, Clock::time_point handed);
  void runOnServeThread(std::function<void()> job);
  void runJobs();
  void wake();
  void saveIfDirtyLocked();
  // Serve thread: the serial port comes back after the reappear time.
  void scheduleReappear();

  EscKind kind_;
  PtyDevice pty_;
  std::unique_ptr<EscModel> model_;
  std::unique_ptr<SimulatedDfu> dfu_;
  std::atomic<bool> applicationMissing_{false};
  mutable std::mutex mutex_;  // model_, received_, statePath_, error_, link paths
  Bytes received_;
  std::string statePath_;
  std::string error_;
  std::string linkPath_;
  std::atomic<bool> present_{false};
  std::atomic<int> reappearMs_{-1};
  std::atomic<bool> pace_{false};
  Clock::time_point reappearAt_{};
  bool reappearPending_ = false;  // serve thread only
  LinePacer pacer_;  // serve thread only

  std::thread thread_;
  std::atomic<bool> running_{false};
  int wakePipe_[2] = {-1, -1};
  std::mutex jobsMutex_;
  std::condition_variable jobsDone_;
  std::deque<std::function<void()>> jobs_;
  bool acceptingJobs_ = false;  // guarded by jobsMutex_
  unsigned long jobsFinished_ = 0;
};

}  // namespace orx::sim
