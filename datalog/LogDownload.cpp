#include "datalog/LogDownload.h"

#include <algorithm>
#include <vector>

#include "datalog/LogLayout.h"
#include "datalog/LogRecord.h"
#include "datalog/LogTexts.h"
#include "datalog/NumberText.h"
#include "protocol/Stm32Protocol.h"

namespace orx::datalog {
namespace {

constexpr size_t kPageNumberAt = 253;
constexpr int kMonitorRestartMs = 500;

// Releases the gate on every way out of the download.
struct GateRelease {
  DownloadGate& gate;
  ~GateRelease() { gate.release(); }
};

class Download {
 public:
  Download(ST32UsbUart& link, const DownloadHooks& hooks) : link_(link), hooks_(hooks), log_(kLogCapacity, 0) {}

  DownloadEnd run() {
    // Zeroed once: a short reply leaves the previous page's bytes, whose page
    // number then makes the page be asked for again.
    link_.clearReceiveBuffer();
    for (unsigned p = 0; p < kPageCount; ++p) {
      for (int retries = 0;; ++retries) {
        if (hooks_.stopRequested && hooks_.stopRequested()) return DownloadEnd::Cancelled;
        if (!request(p)) return DownloadEnd::WriteFailed;
        if (arrived(p)) break;
        report();
        if (retries >= hooks_.maxPageRetries) return DownloadEnd::PageRetriesOut;
      }
      if (takePage(p)) return DownloadEnd::EndMarker;
    }
    return DownloadEnd::AllPages;
  }

  std::span<const uint8_t> bytes() const { return {log_.data(), total_}; }
  size_t total() const { return total_; }

 private:
  // First page or Next page, Repeat in place of a failed write; false when
  // the Repeat failed too.
  bool request(unsigned p) {
    if (p == 0) return stm32::LogFirstPage(link_) || stm32::LogRepeatPage(link_);
    if (!stm32::LogNextPage(link_)) return stm32::LogRepeatPage(link_);
    wait(kPageWaitMs);
    return true;
  }

  // A page counts only when its reply reached the page number and that is
  // `p`: the receive buffer starts zeroed, so a silent first page would
  // otherwise read as 23 records of zeros.
  bool arrived(unsigned p) const {
    return link_.bytesRead() > kPageNumberAt && link_.receiveBuffer()[kPageNumberAt] == p;
  }

  // Copies the reply up to the end marker to page `p`; true when it was there.
  bool takePage(unsigned p) {
    const auto reply = std::span<const uint8_t>(link_.receiveBuffer()).first(kPageSize);
    size_t keep = kPageSize;
    bool found = false;
    for (size_t at = 0; at < kPageSize; at += kRecordSize) {
      if (isEndMarker(reply.subspan(at, kRecordSize))) {
        keep = at;
        found = true;
        break;
      }
    }
    std::copy_n(reply.begin(), keep, log_.begin() + static_cast<std::ptrdiff_t>(p * kPageSize));
    total_ = p * kPageSize + keep;
    report();
    return found;
  }

  void report() {
    if (hooks_.progress) hooks_.progress(static_cast<double>(total_) / kLogCapacity * 100);
  }

  void wait(int ms) {
    if (hooks_.wait)
      hooks_.wait(ms);
    else
      link_.BusyWait(ms);
  }

  ST32UsbUart& link_;
  const DownloadHooks& hooks_;
  std::vector<uint8_t> log_;
  size_t total_ = 0;
};

}  // namespace

DownloadResult runLogDownload(DeviceSession& session, FlowHost& host, const DownloadHooks& hooks) {
  ST32UsbUart& link = session.links.stm32;
  Download download(link, hooks);
  const DownloadEnd end = download.run();
  const bool complete = isComplete(end);
  if (!complete && end != DownloadEnd::Cancelled) host.prompter().ask(text::readFailed());
  stm32::LogEndTransfer(link);  // its reply byte means nothing
  if (complete) {
    if (hooks.progress) hooks.progress(100);  // done, however full the memory was
    host.prompter().ask(text::unplugHint());
  }
  if (hooks.deliver) hooks.deliver(download.bytes(), end);
  host.restartMonitor(kMonitorRestartMs);
  return {end, download.total()};
}

DownloadResult runLogDownload(DeviceSession& session, FlowHost& host, const DownloadHooks& hooks,
                              DownloadGate& gate) {
  GateRelease release{gate};
  return runLogDownload(session, host, hooks);
}

std::string progressText(double percent) {
  std::string out = "READ LOG DATA ...";
  appendFixed(out, percent, 2);
  out += '%';
  return out;
}

int progressBarValue(double percent) {
  if (!(percent > 0)) return 0;
  return percent >= 100 ? 100 : static_cast<int>(percent);
}

bool hasDataLog(std::string_view firmwareVersion) {
  return !(firmwareVersion.starts_with('A') || firmwareVersion.starts_with('B') || firmwareVersion.starts_with('C'));
}

ClearOutcome runClearLog(DeviceSession& session, FlowHost& host, const std::function<void(int ms)>& wait) {
  if (host.prompter().ask(text::clearConfirm()) != MsgAnswer::Ok) return ClearOutcome::Cancelled;
  ST32UsbUart& link = session.links.stm32;
  // A 0x01 left over from an older reply must not pass for the ESC's answer.
  link.clearReceiveBuffer();
  ClearOutcome outcome = ClearOutcome::Failed;
  if (stm32::ClearLog(link)) {
    const bool answered = link.bytesRead() >= 1 && link.receiveBuffer()[0] == 0x01;
    if (wait)
      wait(kClearWaitMs);
    else
      link.BusyWait(kClearWaitMs);
    if (answered) outcome = ClearOutcome::Cleared;
  }
  switch (outcome) {
    case ClearOutcome::Cleared:
      host.prompter().ask(text::clearSuccess());
      break;
    case ClearOutcome::Failed:
    case ClearOutcome::Cancelled:
      host.prompter().ask(text::clearFailed());
      break;
  }
  host.restartMonitor(kMonitorRestartMs);
  return outcome;
}

}  // namespace orx::datalog
