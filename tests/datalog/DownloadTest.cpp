// The log download and clear against the simulated NVQ series ESC on a pty.
// The page pause is recorded instead of slept, so the whole 256-page memory
// reads in well under a second.
#include <gtest/gtest.h>

#include <memory>

#include "RecordBuilder.h"
#include "datalog/DownloadPace.h"
#include "datalog/LogDownload.h"
#include "datalog/LogLayout.h"
#include "link/PosixSerialPort.h"
#include "link/UsbIds.h"
#include "tests/support/RecordingHost.h"
#include "tools/SimulatedEsc.h"

namespace orx::datalog {
namespace {

// A port over the simulator's pty whose writes numbered in `failing` (0 = the
// first write) fail without putting anything on the line.
class FlakyPort : public SerialPort {
 public:
  FlakyPort(std::unique_ptr<SerialPort> inner, std::vector<int> failing)
      : inner_(std::move(inner)), failing_(std::move(failing)) {}
  PortRead read(std::span<uint8_t> into, int timeoutMs) override { return inner_->read(into, timeoutMs); }
  bool write(std::span<const uint8_t> bytes) override {
    const int n = writes_++;
    for (int f : failing_)
      if (f == n) return false;
    return inner_->write(bytes);
  }
  bool purge(PurgeWhat what) override { return inner_->purge(what); }
  bool configure(int baud) override { return inner_->configure(baud); }

 private:
  std::unique_ptr<SerialPort> inner_;
  std::vector<int> failing_;
  int writes_ = 0;
};

struct Rig {
  explicit Rig(std::vector<int> failingWrites = {}) : esc(sim::NvqConfig{}) {
    started = esc.start();
    const std::string path = esc.path();
    auto opener = [path, failingWrites](const std::string& search) -> std::unique_ptr<SerialPort> {
      if (search != kStm32Id) return nullptr;
      auto port = PosixSerialPort::open(path);
      if (!port) return nullptr;
      return std::make_unique<FlakyPort>(std::move(port), failingWrites);
    };
    session = std::make_unique<DeviceSession>(PortOpener{}, opener);
    opened = session->links.stm32.OpenLink(kStm32Id) == 0;
    hooks.progress = [this](double p) { progress.push_back(p); };
    hooks.deliver = [this](std::span<const uint8_t> b, DownloadEnd end) {
      delivered.assign(b.begin(), b.end());
      deliveredEnd = end;
      ++deliveries;
    };
    hooks.wait = [this](int ms) { waits.push_back(ms); };
  }

  void setLog(const std::vector<uint8_t>& memory) {
    esc.withNvq([&](sim::NvqEsc& m) { m.setLogMemory(memory); });
  }
  DownloadResult download() { return runLogDownload(*session, host, hooks); }
  // The command bytes the ESC saw after 0xEA, in order.
  std::vector<uint8_t> logCommands() const {
    std::vector<uint8_t> out;
    const auto got = esc.received();
    for (size_t i = 0; i + 1 < got.size(); ++i)
      if (got[i] == 0xEA) out.push_back(got[++i]);
    return out;
  }
  size_t count(uint8_t command) const {
    const auto c = logCommands();
    return static_cast<size_t>(std::count(c.begin(), c.end(), command));
  }

  sim::SimulatedEsc esc;
  std::unique_ptr<DeviceSession> session;
  orx::test::RecordingHost host;
  DownloadHooks hooks;
  std::vector<double> progress;
  std::vector<int> waits;
  std::vector<uint8_t> delivered;
  int deliveries = 0;
  DownloadEnd deliveredEnd = DownloadEnd::Cancelled;
  bool started = false;
  bool opened = false;
};

// Memory with distinct records up to record `k` of page `p`, where the end
// marker lies; no marker when `p` is 256.
std::vector<uint8_t> logEndingAt(size_t p, size_t k) {
  std::vector<uint8_t> mem;
  const size_t records = p * kRecordsPerPage + k;
  for (size_t i = 0; i < records; ++i)
    test::append(mem, test::makeRecord({.tempC = static_cast<unsigned>(i % 200), .centiAmps = static_cast<unsigned>(i),
                                        .session = static_cast<unsigned>(1 + i / 1000)}));
  if (mem.size() < kLogCapacity) test::append(mem, test::endMarker());
  return mem;
}

std::vector<uint8_t> prefix(const std::vector<uint8_t>& v, size_t n) { return {v.begin(), v.begin() + n}; }

TEST(LogDownloadSim, MarkerInsideAPageDeliversWholeRecordsBeforeIt) {
  Rig rig;
  ASSERT_TRUE(rig.started && rig.opened) << rig.esc.error();
  const auto mem = logEndingAt(3, 5);
  rig.setLog(mem);
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.end, DownloadEnd::EndMarker);
  EXPECT_EQ(r.total, 253u * 3 + 11 * 5);
  EXPECT_EQ(rig.deliveries, 1);
  EXPECT_EQ(rig.delivered, prefix(mem, r.total));
  EXPECT_EQ(rig.logCommands(), (std::vector<uint8_t>{0xF0, 0xF1, 0xF1, 0xF1, 0xF3}));
  EXPECT_EQ(rig.waits, (std::vector<int>{200, 200, 200}));
  // Page by page, then 100 % for the finished download.
  ASSERT_EQ(rig.progress.size(), 5u);
  EXPECT_DOUBLE_EQ(rig.progress[0], 253.0 / 64768 * 100);
  EXPECT_DOUBLE_EQ(rig.progress[3], 814.0 / 64768 * 100);
  EXPECT_EQ(rig.progress.back(), 100.0);
  ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.boxes.shown[0].text, "To increase the speed of the graph, please unplug your ESC");
  EXPECT_EQ(rig.host.boxes.shown[0].caption, "ORX Device");
  EXPECT_EQ(rig.host.periods, std::vector<int>{500});
}

TEST(LogDownloadSim, MarkerFirstInAPageEndsWithoutIt) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  const auto mem = logEndingAt(2, 0);
  rig.setLog(mem);
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.total, 506u);
  EXPECT_EQ(rig.delivered, prefix(mem, 506));
  EXPECT_EQ(rig.count(0xF1), 2u);
}

TEST(LogDownloadSim, EmptyLogDeliversNothingOnce) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  rig.setLog({});  // erased memory: the first record is the marker
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.end, DownloadEnd::EndMarker);
  EXPECT_EQ(r.total, 0u);
  EXPECT_EQ(rig.deliveries, 1);
  EXPECT_TRUE(rig.delivered.empty());
  EXPECT_EQ(rig.progress, (std::vector<double>{0, 100}));
  EXPECT_EQ(rig.logCommands(), (std::vector<uint8_t>{0xF0, 0xF3}));
}

TEST(LogDownloadSim, FullMemoryWithoutMarkerReadsAllPages) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  const auto mem = logEndingAt(256, 0);
  ASSERT_EQ(mem.size(), kLogCapacity);
  rig.setLog(mem);
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.end, DownloadEnd::AllPages);
  EXPECT_EQ(r.total, kLogCapacity);
  EXPECT_TRUE(rig.delivered == mem);
  ASSERT_EQ(rig.progress.size(), 257u);
  EXPECT_EQ(rig.progress.back(), 100.0);
  EXPECT_EQ(rig.waits.size(), 255u);
  EXPECT_EQ(rig.count(0xF3), 1u);
}

TEST(LogDownloadSim, WrongPageNumberIsAskedForAgain) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  const auto mem = logEndingAt(4, 2);
  rig.setLog(mem);
  rig.esc.addFault({sim::Command::LogNextPage, sim::FaultKind::WrongReply, 2});
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.end, DownloadEnd::EndMarker);
  EXPECT_EQ(r.total, 253u * 4 + 22);
  EXPECT_EQ(rig.delivered, prefix(mem, r.total));
  EXPECT_EQ(rig.count(0xF1), 6u);  // pages 1-4, page 1 twice more
  // A dropped reply still reports, with the total unchanged.
  ASSERT_GE(rig.progress.size(), 3u);
  EXPECT_EQ(rig.progress[1], rig.progress[0]);
  EXPECT_EQ(rig.host.boxes.shown.size(), 1u);
}

TEST(LogDownloadSim, EndlessWrongPageNumbersGiveUpAndDeliverWhatCame) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  const auto mem = logEndingAt(4, 2);
  rig.setLog(mem);
  rig.hooks.maxPageRetries = 2;
  rig.esc.addFault({sim::Command::LogNextPage, sim::FaultKind::WrongReply, -1});
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.end, DownloadEnd::PageRetriesOut);
  EXPECT_EQ(r.total, 253u);
  EXPECT_EQ(rig.delivered, prefix(mem, 253));
  EXPECT_EQ(rig.count(0xF1), 3u);
  EXPECT_EQ(rig.count(0xF3), 1u);
  // A fragment is no log: no unplug hint after the failure.
  ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.boxes.shown[0].text, "Read Log Data Failed!");
  EXPECT_EQ(rig.host.boxes.shown[0].caption, kDefaultCaption);
  EXPECT_EQ(rig.deliveredEnd, DownloadEnd::PageRetriesOut);
  EXPECT_EQ(rig.host.periods, std::vector<int>{500});
}

TEST(LogDownloadSim, FailedFirstPageWriteIsReplacedByRepeat) {
  Rig rig({0});
  ASSERT_TRUE(rig.opened);
  const auto mem = logEndingAt(1, 4);
  rig.setLog(mem);
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.end, DownloadEnd::EndMarker);
  EXPECT_EQ(r.total, 253u + 44);
  EXPECT_EQ(rig.delivered, prefix(mem, r.total));
  EXPECT_EQ(rig.logCommands(), (std::vector<uint8_t>{0xF2, 0xF1, 0xF3}));
}

TEST(LogDownloadSim, FailedNextPageWriteRepeatsWithoutThePause) {
  Rig rig({2});  // First page, Next page 1, then Next page 2 fails
  ASSERT_TRUE(rig.opened);
  const auto mem = logEndingAt(3, 1);
  rig.setLog(mem);
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.end, DownloadEnd::EndMarker);
  EXPECT_EQ(r.total, 253u * 3 + 11);
  EXPECT_EQ(rig.delivered, prefix(mem, r.total));
  // The Repeat brings page 1 again, which is dropped; page 2 is asked anew.
  EXPECT_EQ(rig.logCommands(), (std::vector<uint8_t>{0xF0, 0xF1, 0xF2, 0xF1, 0xF1, 0xF3}));
  EXPECT_EQ(rig.waits.size(), rig.count(0xF1));  // one pause per Next page written
  EXPECT_EQ(rig.host.boxes.shown.size(), 1u);
}

TEST(LogDownloadSim, CommandAndRepeatBothFailingEndsWithWhatCame) {
  Rig rig({1, 2});  // Next page 1 and its Repeat
  ASSERT_TRUE(rig.opened);
  const auto mem = logEndingAt(3, 1);
  rig.setLog(mem);
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.end, DownloadEnd::WriteFailed);
  EXPECT_EQ(r.total, 253u);
  EXPECT_EQ(rig.delivered, prefix(mem, 253));
  EXPECT_TRUE(rig.waits.empty());
  ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.boxes.shown[0], (Message{kDefaultCaption, MsgIcon::None, MsgButtons::Ok, "Read Log Data Failed!"}));
  EXPECT_EQ(rig.count(0xF3), 1u);
}

TEST(LogDownloadSim, UnpluggedEscDeliversNothingAndNeverBlocks) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  rig.setLog(logEndingAt(3, 1));
  rig.esc.vanish();
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.end, DownloadEnd::WriteFailed);
  EXPECT_EQ(r.total, 0u);
  EXPECT_EQ(rig.deliveries, 1);
  EXPECT_EQ(rig.deliveredEnd, DownloadEnd::WriteFailed);
  EXPECT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.periods, std::vector<int>{500});
}

TEST(LogDownloadSim, ShortPageReplyIsAskedForAgain) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  const auto mem = logEndingAt(3, 1);
  rig.setLog(mem);
  // Half of page 1 arrives; the rest of the buffer, page 0's number byte
  // included, is stale, so the page is asked for again.
  rig.esc.addFault({sim::Command::LogNextPage, sim::FaultKind::ShortReply, 1});
  const DownloadResult r = rig.download();
  EXPECT_EQ(r.total, 253u * 3 + 11);
  EXPECT_EQ(rig.delivered, prefix(mem, r.total));
  EXPECT_EQ(rig.count(0xF1), 4u);
}

TEST(LogDownloadSim, TheFirstPageIsCheckedAndAskedForAgainLikeEveryOther) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  const auto mem = logEndingAt(2, 3);
  rig.setLog(mem);
  // Half of page 0 over a zeroed buffer still reads page number 0.
  rig.esc.addFault({sim::Command::LogFirstPage, sim::FaultKind::ShortReply, 1});
  EXPECT_EQ(rig.download().end, DownloadEnd::EndMarker);
  EXPECT_EQ(rig.delivered, prefix(mem, 253u * 2 + 33));
  EXPECT_EQ(rig.count(0xF0), 2u);

  Rig never;  // no whole first page at all: the download gives up, as after later pages
  never.hooks.maxPageRetries = 0;
  never.esc.addFault({sim::Command::LogFirstPage, sim::FaultKind::ShortReply, -1});
  EXPECT_EQ(never.download().end, DownloadEnd::PageRetriesOut);
}

TEST(LogDownloadSim, AStopRequestEndsBeforeTheNextPageWithoutABox) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  rig.setLog(logEndingAt(9, 1));
  rig.hooks.stopRequested = [&] { return rig.progress.size() >= 2; };
  EXPECT_EQ(rig.download().end, DownloadEnd::Cancelled);
  EXPECT_EQ(rig.deliveredEnd, DownloadEnd::Cancelled);
  EXPECT_EQ(rig.logCommands(), (std::vector<uint8_t>{0xF0, 0xF1, 0xF3}));
  EXPECT_TRUE(rig.host.boxes.shown.empty());
  EXPECT_EQ(rig.host.periods, std::vector<int>{500});
}

TEST(LogDownloadGate, SecondClaimIsRefusedUntilTheDownloadEnds) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  rig.setLog({});
  DownloadGate gate;
  ASSERT_TRUE(gate.tryClaim());
  EXPECT_FALSE(gate.tryClaim());
  runLogDownload(*rig.session, rig.host, rig.hooks, gate);
  EXPECT_FALSE(gate.busy());
  EXPECT_TRUE(gate.tryClaim());
}

TEST(LogDownloadProgress, TextHasTwoDecimalsAndTheBarTheWholePercent) {
  EXPECT_EQ(progressText(100), "READ LOG DATA ...100.00%");
  EXPECT_EQ(progressText(814.0 / 64768 * 100), "READ LOG DATA ...1.26%");
  EXPECT_EQ(progressBarValue(12.99), 12);
  EXPECT_EQ(progressBarValue(100), 100);
  EXPECT_EQ(progressBarValue(-1), 0);
  EXPECT_TRUE(hasDataLog("D.01.03.05"));
  EXPECT_TRUE(hasDataLog(""));
  EXPECT_FALSE(hasDataLog("A.1.2"));
  EXPECT_FALSE(hasDataLog("C"));
}

TEST(LogDownloadProgress, SpeedAndTimeLeftOnceThreePagesAreInUntilTheEnd) {
  EXPECT_EQ(progressTextWithPace(46.32, 23), "READ LOG DATA ...46.32% - 1.3 KB/s - 27 s left");
  EXPECT_EQ(progressTextWithPace(3, 10), "READ LOG DATA ...3.00% - 0.2 KB/s - 5 min 24 s left");
  EXPECT_EQ(progressTextWithPace(1, 10), "READ LOG DATA ...1.00%");  // two and a half pages
  EXPECT_EQ(progressTextWithPace(100, 50), "READ LOG DATA ...100.00%");
}

TEST(ClearLogSim, CancelSendsNothing) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  rig.host.boxes.answer = MsgAnswer::Cancel;
  std::vector<int> waits;
  EXPECT_EQ(runClearLog(*rig.session, rig.host, [&](int ms) { waits.push_back(ms); }), ClearOutcome::Cancelled);
  EXPECT_TRUE(rig.esc.received().empty());
  EXPECT_TRUE(rig.host.periods.empty());
  EXPECT_TRUE(waits.empty());
  ASSERT_EQ(rig.host.boxes.shown.size(), 1u);
  EXPECT_EQ(rig.host.boxes.shown[0],
            (Message{"ORX Device", MsgIcon::Warning, MsgButtons::OkCancel,
                     "This operation will clear the data log of ESC! Are you sure you want to continue?"}));
}

TEST(ClearLogSim, AnsweredClearErasesTheLog) {
  Rig rig;
  ASSERT_TRUE(rig.opened);
  rig.setLog(logEndingAt(2, 3));
  std::vector<int> waits;
  EXPECT_EQ(runClearLog(*rig.session, rig.host, [&](int ms) { waits.push_back(ms); }), ClearOutcome::Cleared);
  EXPECT_EQ(rig.esc.received(), (sim::Bytes{0xDA, 0xD1}));
  EXPECT_EQ(waits, std::vector<int>{1000});
  ASSERT_EQ(rig.host.boxes.shown.size(), 2u);
  EXPECT_EQ(rig.host.boxes.shown[1], (Message{"ORX Device", MsgIcon::None, MsgButtons::Ok, "Clear data success!"}));
  EXPECT_EQ(rig.host.periods, std::vector<int>{500});
  // A download now finds an empty log.
  EXPECT_EQ(rig.download().total, 0u);
}

TEST(ClearLogSim, SilentOrGoneEscFails) {
  for (bool gone : {false, true}) {
    Rig rig;
    ASSERT_TRUE(rig.opened);
    // An old 0x01 in the receive buffer must not pass for an answer.
    rig.session->links.stm32.receiveBuffer()[0] = 0x01;
    if (gone)
      rig.esc.vanish();
    else
      rig.esc.addFault({sim::Command::ClearLog, sim::FaultKind::Silence, 1});
    EXPECT_EQ(runClearLog(*rig.session, rig.host, [](int) {}), ClearOutcome::Failed) << gone;
    ASSERT_EQ(rig.host.boxes.shown.size(), 2u);
    EXPECT_EQ(rig.host.boxes.shown[1], (Message{"ORX Device", MsgIcon::Error, MsgButtons::Ok, "Failed to clear data!"}));
    EXPECT_EQ(rig.host.periods, std::vector<int>{500});
  }
}

}  // namespace
}  // namespace orx::datalog
