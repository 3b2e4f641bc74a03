// What the graph window needs from the ESC side, and the inbox through which
// the link worker hands results back.
//
// Threads: the window calls DataLogSource on its own (UI) thread; the calls
// only queue work and return at once. The worker calls the LogInbox from its
// thread; the inbox posts to the window's thread and never waits on it. A
// closed window detaches its inbox, so late results are dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

class QObject;

namespace orx::graph {

class LogInbox {
 public:
  using ProgressFn = std::function<void(double percent)>;
  using LogFn = std::function<void(std::vector<std::uint8_t> bytes)>;

  // `context` is the window: the posted calls run on its thread and are
  // dropped if it is gone by then.
  LogInbox(QObject* context, ProgressFn progress, LogFn log);

  // Any thread. Percent 0..100 of the download.
  void progress(double percent);
  // Any thread, once per download. The bytes are copied before it returns.
  void deliver(std::span<const std::uint8_t> bytes);

  // The window's thread, from its destructor.
  void detach();

 private:
  std::mutex mutex_;
  QObject* context_;
  ProgressFn progress_;
  LogFn log_;
};

class DataLogSource {
 public:
  virtual ~DataLogSource() = default;
  // Queue a download; its progress and bytes go to `inbox`. A request while
  // a download runs may be dropped (datalog::DownloadGate).
  virtual void requestDownload(std::shared_ptr<LogInbox> inbox) = 0;
  // Queue the clear job (its confirmation and outcome boxes are the job's).
  virtual void requestClear() = 0;
  // The Device Firmware Version text (Windows-1252).
  virtual std::string firmwareVersion() const = 0;
};

}  // namespace orx::graph
