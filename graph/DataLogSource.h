// The graph window's LogSink: it brings a download's progress and bytes from
// the link worker to the window's thread.
//
// Threads: the worker calls the LogInbox from its thread; the inbox posts to
// the window's thread and never waits on it. A closed window detaches its
// inbox, so late results are dropped and the download stops before its next
// page.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <vector>

#include "device/DataLogSource.h"

class QObject;

namespace orx::graph {

using orx::DataLogSource;

class LogInbox : public LogSink {
 public:
  using ProgressFn = std::function<void(double percent)>;
  using LogFn = std::function<void(std::vector<std::uint8_t> bytes, datalog::DownloadEnd end)>;

  // `context` is the window: the posted calls run on its thread and are
  // dropped if it is gone by then.
  LogInbox(QObject* context, ProgressFn progress, LogFn log);

  // Any thread. Percent 0..100 of the download.
  void progress(double percent) override;
  // Any thread, once per download. The bytes are copied before it returns.
  void deliver(std::span<const std::uint8_t> bytes, datalog::DownloadEnd end) override;

  // The window's thread: the download stops before its next page. A new
  // download clears the request.
  void requestStop() { stop_ = true; }
  void clearStop() { stop_ = false; }
  bool stopRequested() const override { return stop_; }

  // The window's thread, from its destructor; also requests the stop.
  void detach();

 private:
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  QObject* context_;
  ProgressFn progress_;
  LogFn log_;
};

}  // namespace orx::graph
