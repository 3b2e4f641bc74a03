#include "device/LinkWorker.h"

namespace orx {

LinkWorker::LinkWorker(Job tick) : tick_(std::move(tick)) {}

LinkWorker::~LinkWorker() { stop(); }

void LinkWorker::start() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (thread_.joinable() || stopSource_.stop_requested()) return;
  stopping_ = false;
  thread_ = std::thread([this] { run(); });
}

void LinkWorker::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  stopSource_.request_stop();
  wake_.notify_all();
  if (thread_.joinable() && !onWorkerThread()) thread_.join();
}

void LinkWorker::post(Job job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    jobs_.push_back(std::move(job));
  }
  wake_.notify_all();
}

void LinkWorker::setTickEnabled(bool enabled) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tickEnabled_ = enabled;
  }
  wake_.notify_all();
}

void LinkWorker::restartMonitor(int ms) { nextPeriodMs_ = ms; }

void LinkWorker::tickNow() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tickNow_ = true;
  }
  wake_.notify_all();
}

size_t LinkWorker::pending() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return jobs_.size();
}

bool LinkWorker::busy() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return running_ || !jobs_.empty();
}

void LinkWorker::run() {
  auto nextTick = Clock::now() + std::chrono::milliseconds(kDefaultPeriodMs);
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    Job job;
    if (!jobs_.empty()) {
      job = std::move(jobs_.front());
      jobs_.pop_front();
    } else if (tickEnabled_ && (tickNow_ || Clock::now() >= nextTick)) {
      job = tick_;
      tickNow_ = false;
    } else {
      if (tickEnabled_) {
        wake_.wait_until(lock, nextTick);
      } else {
        wake_.wait(lock);
      }
      continue;
    }
    running_ = true;
    lock.unlock();
    nextPeriodMs_ = kDefaultPeriodMs;
    if (job) job();
    const auto ended = Clock::now();
    lock.lock();
    running_ = false;
    nextTick = ended + std::chrono::milliseconds(nextPeriodMs_);
  }
}

}  // namespace orx
