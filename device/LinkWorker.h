// The one thread that talks to the ESC.
//
// Every exchange with the ESC runs here as a job, one at a time, in the order
// posted: monitor ticks, reads, sends, defaults, repair mode, firmware updates.
// That is how the monitor rule holds: no tick runs while a job runs, and the
// next tick comes a period after the last job ended (500 ms, or whatever the
// job asked for with restartMonitor(), e.g. 800 ms after a completed NVQ read).
//
// Stopping: the worker owns one std::stop_source. stop() requests it before
// joining, and its token reaches every wait of the jobs (the links' timed reads
// and BusyWait, the flows' pauses and searches), which then end at once, so the
// running job ends at its next wait instead of sitting out its time limits.
//
// Threading: post(), setTickEnabled(), busy() and stop() may be called from any thread.
// Jobs, the tick and restartMonitor() run on the worker thread only. Jobs report
// to the window through SharedControls and the callbacks they were given; a job
// that needs the user's answer calls a Prompter, which blocks this thread (never
// the window's) until the user answers.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

namespace orx {

class LinkWorker {
 public:
  using Job = std::function<void()>;
  static constexpr int kDefaultPeriodMs = 500;

  // `tick` is the monitor tick, run whenever no job waits and the period since
  // the last job or tick has passed.
  explicit LinkWorker(Job tick);
  ~LinkWorker();
  LinkWorker(const LinkWorker&) = delete;
  LinkWorker& operator=(const LinkWorker&) = delete;

  void start();
  // Requests the stop, drops the waiting jobs, lets the running one end at
  // its next wait and joins the thread. Final: the worker does not start again.
  void stop();
  // The stop request every wait on this thread honours.
  std::stop_token stopToken() const { return stopSource_.get_token(); }

  void post(Job job);
  void setTickEnabled(bool enabled);

  // Worker thread only: the next tick comes `ms` after the current job ends.
  void restartMonitor(int ms);
  // Any thread: the next tick comes as soon as no job runs or waits (a device
  // was just plugged in), not a period later.
  void tickNow();

  bool onWorkerThread() const { return std::this_thread::get_id() == thread_.get_id(); }
  // Jobs waiting, not counting the one running.
  size_t pending() const;
  // A job posted now would wait: a job or a tick runs, or jobs wait.
  bool busy() const;

 private:
  void run();

  using Clock = std::chrono::steady_clock;
  Job tick_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stopping_ = false;
  bool running_ = false;
  std::stop_source stopSource_;
  bool tickEnabled_ = true;
  bool tickNow_ = false;
  int nextPeriodMs_ = kDefaultPeriodMs;  // worker thread only
  std::thread thread_;
};

}  // namespace orx
