#include "tools/SimulatedEsc.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace orx::sim {

namespace {

constexpr int kPollMs = 20;

const char* linkNameOf(EscKind kind) {
  switch (kind) {
    case EscKind::Nvq:
      return "nvq";
    case EscKind::Cp210x:
      return "cp210x";
  }
  return "esc";
}

}  // namespace

SimulatedEsc::SimulatedEsc(const NvqConfig& config)
    : kind_(EscKind::Nvq), pty_(linkNameOf(EscKind::Nvq)), model_(std::make_unique<NvqEsc>(config)) {}

SimulatedEsc::SimulatedEsc(const Cp210xConfig& config)
    : kind_(EscKind::Cp210x),
      pty_(linkNameOf(EscKind::Cp210x)),
      model_(std::make_unique<Cp210xEsc>(config)) {}

SimulatedEsc::~SimulatedEsc() { stop(); }

bool SimulatedEsc::useStateFile(const std::string& path) {
  std::lock_guard lock(mutex_);
  statePath_ = path;
  std::string text;
  if (::access(path.c_str(), F_OK) != 0) {
    model_->takeDirty();
    std::string error;
    // Write the starting state at once, so a file exists from the start.
    if (!writeFileAtomic(path, formatState(model_->saveState()), error)) {
      error_ = error;
      return false;
    }
    return true;
  }
  if (!readSmallFile(path, text)) {
    error_ = "cannot read state file " + path;
    return false;
  }
  StateMap state;
  std::string error;
  if (!parseState(text, state, error) || !model_->loadState(state, error)) {
    error_ = "state file " + path + ": " + error;
    return false;
  }
  model_->takeDirty();
  return true;
}

void SimulatedEsc::enableDfu() {
  if (kind_ != EscKind::Nvq || dfu_) return;
  dfu_ = std::make_unique<SimulatedDfu>();
  // Runs on the DFU's serve thread with no lock of its own held.
  dfu_->setLeftListener([this](bool flashed) {
    if (applicationMissing_ && !flashed) {
      dfu_->plug();  // nothing to start: back in the boot loader
      return;
    }
    applicationMissing_ = false;
    runOnServeThread([this] { scheduleReappear(); });
  });
}

std::string SimulatedEsc::dfuExportLine() const { return dfu_ ? dfu_->exportLine() : std::string(); }

bool SimulatedEsc::enterDfuMode() {
  if (!dfu_) return false;
  applicationMissing_ = true;
  bool ok = false;
  runOnServeThread([this, &ok] {
    present_ = false;
    pty_.unplug();
    reappearPending_ = false;
    ok = dfu_->plug();
  });
  return ok;
}

void SimulatedEsc::scheduleReappear() {
  const int ms = reappearMs_.load();
  if (ms < 0) return;
  reappearPending_ = true;
  reappearAt_ = Clock::now() + std::chrono::milliseconds(ms);
}

bool SimulatedEsc::start() {
  if (running_) return true;
  if (dfu_ && !dfu_->start()) {
    std::lock_guard lock(mutex_);
    error_ = dfu_->error();
    return false;
  }
  if (::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    std::lock_guard lock(mutex_);
    error_ = "cannot create a pipe";
    return false;
  }
  if (!pty_.plug()) {
    std::lock_guard lock(mutex_);
    error_ = pty_.error();
    return false;
  }
  {
    std::lock_guard lock(mutex_);
    linkPath_ = pty_.linkPath();
  }
  present_ = true;
  running_ = true;
  {
    std::lock_guard lock(jobsMutex_);
    acceptingJobs_ = true;
  }
  thread_ = std::thread([this] { serve(); });
  return true;
}

void SimulatedEsc::stop() {
  // First: its serve thread may be waiting on ours to bring the port back.
  if (dfu_) dfu_->stop();
  if (!running_) {
    pty_.unplug();
    present_ = false;
    return;
  }
  {
    std::lock_guard lock(jobsMutex_);
    acceptingJobs_ = false;
  }
  running_ = false;
  wake();
  if (thread_.joinable()) thread_.join();
  pty_.unplug();
  present_ = false;
  for (int& fd : wakePipe_) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  // Jobs queued too late must not leave their callers waiting.
  std::lock_guard lock(jobsMutex_);
  while (!jobs_.empty()) {
    jobs_.front()();
    jobs_.pop_front();
    ++jobsFinished_;
  }
  jobsDone_.notify_all();
}

std::string SimulatedEsc::error() const {
  std::lock_guard lock(mutex_);
  return error_;
}

std::string SimulatedEsc::path() const {
  std::lock_guard lock(mutex_);
  return linkPath_;
}

std::string SimulatedEsc::virtualPort() const { return std::string(usbIdOf(kind_)) + "=" + path(); }

std::string SimulatedEsc::exportLine() const { return "ORX_VIRTUAL_PORTS='" + virtualPort() + "'"; }

void SimulatedEsc::vanish() {
  runOnServeThread([this] {
    present_ = false;
    pty_.unplug();
    reappearPending_ = false;
  });
}

bool SimulatedEsc::plugBack() {
  bool ok = false;
  runOnServeThread([this, &ok] {
    reappearPending_ = false;
    ok = pty_.plug();
    present_ = ok;
    std::lock_guard lock(mutex_);
    if (!ok) error_ = pty_.error();
  });
  return ok;
}

void SimulatedEsc::setReappearAfterLeavingMs(int ms) { reappearMs_ = ms; }

void SimulatedEsc::addFault(const Fault& fault) {
  if (dfu_ && (fault.command == Command::DfuErase || fault.command == Command::DfuDownload)) {
    dfu_->addFault(fault);
    return;
  }
  std::lock_guard lock(mutex_);
  model_->faults().add(fault);
}

void SimulatedEsc::setBootBlockReplies(int index, std::vector<int> replies) {
  std::lock_guard lock(mutex_);
  model_->faults().setBlockReplies(index, std::move(replies));
}

void SimulatedEsc::clearFaults() {
  std::lock_guard lock(mutex_);
  model_->faults().clear();
}

Bytes SimulatedEsc::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

void SimulatedEsc::clearReceived() {
  std::lock_guard lock(mutex_);
  received_.clear();
}

void SimulatedEsc::saveIfDirtyLocked() {
  if (!model_->takeDirty() || statePath_.empty()) return;
  std::string error;
  if (!writeFileAtomic(statePath_, formatState(model_->saveState()), error)) error_ = error;
}

void SimulatedEsc::wake() {
  if (wakePipe_[1] >= 0) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakePipe_[1], &c, 1);
  }
}

void SimulatedEsc::runOnServeThread(std::function<void()> job) {
  std::unique_lock lock(jobsMutex_);
  if (!acceptingJobs_) {
    lock.unlock();
    job();
    return;
  }
  jobs_.push_back(std::move(job));
  const unsigned long ticket = jobsFinished_ + jobs_.size();
  wake();
  jobsDone_.wait(lock, [&] { return jobsFinished_ >= ticket; });
}

void SimulatedEsc::runJobs() {
  std::unique_lock lock(jobsMutex_);
  while (!jobs_.empty()) {
    auto job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    job();
    lock.lock();
    ++jobsFinished_;
  }
  jobsDone_.notify_all();
}

void SimulatedEsc::writeOut(const std::uint8_t* data, std::size_t size, unsigned baud, Clock::time_point handed) {
  if (!pace_ || kind_ != EscKind::Cp210x || baud == 0) {
    pty_.writeAll(data, size);
    return;
  }
  for (std::size_t i = 0; i < size; ++i) {
    std::this_thread::sleep_until(pacer_.next(handed, baud));
    if (!pty_.writeAll(data + i, 1)) return;
  }
}

void SimulatedEsc::handleBytes(const std::uint8_t* data, std::size_t size) {
  // Every byte of this read was on the line by now; their answers are due
  // from here, however long the ones before them take to go out.
  const Clock::time_point arrived = Clock::now();
  for (std::size_t i = 0; i < size && pty_.plugged(); ++i) {
    Output out;
    bool leftPort = false;
    const unsigned baud = pty_.currentBaud();
    {
      std::lock_guard lock(mutex_);
      received_.push_back(data[i]);
      model_->onByte(data[i], baud, Clock::now(), out);
      leftPort = model_->takeLeftPort();
      saveIfDirtyLocked();
    }
    const std::size_t toWrite = out.vanishAt ? std::min(*out.vanishAt, out.bytes.size()) : out.bytes.size();
    if (toWrite > 0) writeOut(out.bytes.data(), toWrite, baud, arrived);
    if (out.vanishAt) {
      // Let the program take the bytes that made it out before the line dies.
      if (toWrite > 0) pty_.waitSlaveDrained(500);
      present_ = false;
      pty_.unplug();
      // The boot loader takes over; the port comes back once it has left.
      if (leftPort && dfu_ && !dfu_->plug()) {
        std::lock_guard lock(mutex_);
        error_ = dfu_->error();
      }
      if (leftPort && !dfu_) scheduleReappear();
      return;  // whatever else arrived went nowhere
    }
  }
}

void SimulatedEsc::serve() {
  std::array<std::uint8_t, 512> buffer{};
  while (running_) {
    runJobs();
    std::array<pollfd, 2> fds{};
    fds[0] = {wakePipe_[0], POLLIN, 0};
    nfds_t count = 1;
    if (pty_.plugged()) {
      fds[1] = {pty_.masterFd(), POLLIN, 0};
      count = 2;
    }
    const int ready = ::poll(fds.data(), count, kPollMs);
    if (ready > 0 && (fds[0].revents & POLLIN)) {
      char drain[64];
      while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
      }
    }
    if (ready > 0 && count == 2 && (fds[1].revents & POLLIN)) {
      const std::size_t n = pty_.readAvailable(buffer.data(), buffer.size());
      handleBytes(buffer.data(), n);
    }
    if (reappearPending_ && Clock::now() >= reappearAt_) {
      reappearPending_ = false;
      present_ = pty_.plug();
      if (!present_) {
        std::lock_guard lock(mutex_);
        error_ = pty_.error();
      }
    }
    std::lock_guard lock(mutex_);
    model_->onIdle(Clock::now());
    saveIfDirtyLocked();
  }
}

}  // namespace orx::sim
