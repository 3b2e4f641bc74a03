// Reading the ESC's whole log page by page, and erasing it. Both run as one
// job on the link worker's thread; every callback below is called on that
// thread, and message boxes go through the host's Prompter.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx::datalog {

// Pages requested again after a wrong page number before the download gives
// up as after a failed write.
inline constexpr int kMaxPageRetries = 5;
inline constexpr int kPageWaitMs = 200;
inline constexpr int kClearWaitMs = 1000;

enum class DownloadEnd {
  EndMarker,       // the log ended inside a page
  AllPages,        // 256 pages without an end marker: the memory is full
  WriteFailed,     // a page command and its Repeat could not be written
  PageRetriesOut,  // the ESC kept answering with another page number
  Cancelled,       // the window asked to stop
};

// Only a download that reached the end of the log delivers a log; the bytes
// of any other end are a fragment.
inline bool isComplete(DownloadEnd end) { return end == DownloadEnd::EndMarker || end == DownloadEnd::AllPages; }

struct DownloadHooks {
  // Percent 0..100 after every page reply (also a dropped one), and 100 once
  // a complete download has ended.
  std::function<void(double percent)> progress;
  // Called exactly once per download with the bytes read (a multiple of 11,
  // possibly none) and how it ended. The bytes live only for the call:
  // decode or copy them.
  std::function<void(std::span<const std::uint8_t> log, DownloadEnd end)> deliver;
  // The pauses between pages and after a clear; empty = the link's BusyWait.
  std::function<void(int ms)> wait;
  // Asked before every page request; true ends the download as Cancelled.
  std::function<bool()> stopRequested;
  int maxPageRetries = kMaxPageRetries;
};

struct DownloadResult {
  DownloadEnd end = DownloadEnd::EndMarker;
  std::size_t total = 0;  // bytes delivered
};

// The download on the STM32 link: First page (Repeat on a failed write), the
// end-marker scan, Next page 1..255 with the page pause, every page (the
// first too) asked for again while its reply is short or carries another
// page number, End of transfer, the hand-over, and the monitor restarted at
// 500 ms. "Read Log Data Failed!" after a failure; the unplug hint only after
// a complete download; no box after a cancel.
DownloadResult runLogDownload(DeviceSession& session, FlowHost& host, const DownloadHooks& hooks);

// Keeps a second Read log request from queueing a second download. The window
// claims before posting the job (a false claim drops the request); the job
// releases when it ends, whatever the outcome.
class DownloadGate {
 public:
  bool tryClaim() { return !busy_.exchange(true); }
  void release() { busy_.store(false); }
  bool busy() const { return busy_.load(); }

 private:
  std::atomic<bool> busy_{false};
};

// As above, releasing `gate` when done.
DownloadResult runLogDownload(DeviceSession& session, FlowHost& host, const DownloadHooks& hooks,
                              DownloadGate& gate);

// "READ LOG DATA ...12.99%" under the graph window's progress bar, and the
// bar's position (the whole percent: 12 for 12.99), clamped to 0..100.
std::string progressText(double percent);
int progressBarValue(double percent);

// The graph window opens only for firmware whose version text does not begin
// with "A", "B" or "C" (otherwise: text::notNvqSeries()).
bool hasDataLog(std::string_view firmwareVersion);

enum class ClearOutcome {
  Cancelled,  // the user said Cancel: nothing sent
  Cleared,    // the ESC answered 0x01
  Failed,     // write failed, no answer or another answer
};

// The confirmation box, Clear log, the 1000 ms pause, the outcome box, the
// monitor restarted at 500 ms (not after a Cancel).
ClearOutcome runClearLog(DeviceSession& session, FlowHost& host,
                         const std::function<void(int ms)>& wait = {});

}  // namespace orx::datalog
