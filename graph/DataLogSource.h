// What the graph window needs from the ESC side, and the inbox through which
// the link worker hands results back.
//
// Threads: the window calls DataLogSource on its own (UI) thread; the calls
// only queue work and return at once. The worker calls the LogInbox from its
// thread; the inbox posts to the window's thread and never waits on it. A
// closed window detaches its inbox, so late results are dropped and the
// download stops before its next page.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "datalog/LogDownload.h"

class QObject;

namespace orx::graph {

class LogInbox {
 public:
  using ProgressFn = std::function<void(double percent)>;
  using LogFn = std::function<void(std::vector<std::uint8_t> bytes, datalog::DownloadEnd end)>;

  // `context` is the window: the posted calls run on its thread and are
  // dropped if it is gone by then.
  LogInbox(QObject* context, ProgressFn progress, LogFn log);

  // Any thread. Percent 0..100 of the download.
  void progress(double percent);
  // Any thread, once per download. The bytes are copied before it returns.
  void deliver(std::span<const std::uint8_t> bytes, datalog::DownloadEnd end);

  // The window's thread: the download stops before its next page. A new
  // download clears the request.
  void requestStop() { stop_ = true; }
  void clearStop() { stop_ = false; }
  bool stopRequested() const { return stop_; }

  // The window's thread, from its destructor; also requests the stop.
  void detach();

  // The download's callbacks, all going through `inbox`.
  static datalog::DownloadHooks hooks(std::shared_ptr<LogInbox> inbox);

 private:
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  QObject* context_;
  ProgressFn progress_;
  LogFn log_;
};

class DataLogSource {
 public:
  virtual ~DataLogSource() = default;
  // Queue a download; its progress and bytes go to `inbox`, and it stops
  // when the inbox asks. False when the request was dropped because a
  // download runs already (datalog::DownloadGate).
  virtual bool requestDownload(std::shared_ptr<LogInbox> inbox) = 0;
  // Queue the clear job (its confirmation and outcome boxes are the job's).
  virtual void requestClear() = 0;
  // The Device Firmware Version text (Windows-1252).
  virtual std::string firmwareVersion() const = 0;
};

}  // namespace orx::graph
