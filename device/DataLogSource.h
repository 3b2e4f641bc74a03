// The data log as the ESC side offers it to a front end: a download whose
// progress and bytes go to a LogSink, and the clear job.
//
// Threads: a front end calls DataLogSource on its own thread; the calls only
// queue work and return at once. The link worker calls the LogSink from its
// thread; a sink must not wait on the front end's thread.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "datalog/LogDownload.h"

namespace orx {

class LogSink {
 public:
  virtual ~LogSink() = default;
  // Percent 0..100 of the download.
  virtual void progress(double percent) = 0;
  // Once per download, with how it ended. The bytes live only for the call:
  // copy them.
  virtual void deliver(std::span<const std::uint8_t> bytes, datalog::DownloadEnd end) = 0;
  // Asked before every page: true ends the download as cancelled.
  virtual bool stopRequested() const { return false; }
};

// The download's callbacks, all going to `sink`.
datalog::DownloadHooks logSinkHooks(LogSink& sink);

class DataLogSource {
 public:
  virtual ~DataLogSource() = default;
  // Queue a download; its progress and bytes go to `sink`, and it stops when
  // the sink asks. False when the request was dropped because a download
  // runs already (datalog::DownloadGate).
  virtual bool requestDownload(std::shared_ptr<LogSink> sink) = 0;
  // Queue the clear job (its confirmation and outcome boxes are the job's).
  virtual void requestClear() = 0;
  // The Device Firmware Version text (Windows-1252).
  virtual std::string firmwareVersion() const = 0;
};

}  // namespace orx
