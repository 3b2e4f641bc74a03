// A graph window with recording stand-ins for the ESC side, the message
// boxes and the file dialogs, and a generated flight log to show in it.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "base/Messages.h"
#include "datalog/LogUnits.h"
#include "graph/DataLogSource.h"
#include "graph/Graph.h"
#include "graph/GraphAxes.h"
#include "graph/GraphIds.h"
#include "graph/GraphPlot.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/RecordingPrompter.h"
#include "tools/LogGenerator.h"

namespace orx::test {

// The records of a generated log, as the download delivers them (the bytes
// before the end marker).
inline std::vector<std::uint8_t> generatedRecords(std::size_t bytes = 22000, unsigned sessions = 4) {
  sim::LogFill fill;
  fill.bytes = bytes;
  fill.sessions = sessions;
  const sim::Bytes memory = sim::generateLog(fill);
  return {memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(bytes)};
}

// Plays the link worker: a download reports progress page by page and
// delivers from a thread of its own. It ends as `end` says (a failure hands
// over half the bytes); with `waitForStop` it waits after the first page
// until the window cancels.
struct FakeSource : graph::DataLogSource {
  std::vector<std::uint8_t> log = generatedRecords();
  datalog::DownloadEnd end = datalog::DownloadEnd::EndMarker;
  bool waitForStop = false;
  std::atomic<int> downloads{0};
  std::atomic<int> clears{0};
  std::string firmware = "NVQ1.0";
  std::thread worker;

  ~FakeSource() override {
    if (worker.joinable()) worker.join();
  }
  bool requestDownload(std::shared_ptr<graph::LogInbox> inbox) override {
    ++downloads;
    if (worker.joinable()) worker.join();
    worker = std::thread([inbox, bytes = log, end = end, wait = waitForStop] {
      const datalog::DownloadHooks hooks = graph::LogInbox::hooks(inbox);
      const std::size_t pages = (bytes.size() + 252) / 253;
      for (std::size_t p = 1; p <= pages; ++p) {
        if (hooks.stopRequested()) return hooks.deliver(std::span(bytes).first(253), datalog::DownloadEnd::Cancelled);
        hooks.progress(static_cast<double>(std::min(bytes.size(), p * 253)) / 64768 * 100);
        for (int ms = 0; wait && ms < 3000 && !hooks.stopRequested(); ++ms)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      if (datalog::isComplete(end)) hooks.progress(100);
      hooks.deliver(datalog::isComplete(end) ? std::span(bytes) : std::span(bytes).first(bytes.size() / 2), end);
    });
    return true;
  }
  void requestClear() override { ++clears; }
  std::string firmwareVersion() const override { return firmware; }
};

// Drags the left button across the chart from `from` to `to` (a zoom, or a
// reset when dragged up and left).
inline void drag(CChartCtrl& chart, QPoint from, QPoint to) {
  chart.RenderedImage();
  auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), chart.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&chart, &e);
  };
  send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// Zooms into the middle of the plot.
inline void zoomIn(CChartCtrl& chart) {
  chart.RenderedImage();
  const ChartRect& p = chart.GetPlottingRect();
  drag(chart, QPoint(p.left + p.Width() / 4, p.top + p.Height() / 4),
       QPoint(p.left + p.Width() * 3 / 4, p.top + p.Height() * 3 / 4));
}

// How many pixels apart the curve of `key` draws shown sample `i` and the
// point where the curve's own axis puts that sample's value.
inline int misfit(graph::Graph& w, const std::string& key, std::size_t i) {
  CChartCtrl& chart = w.chart();
  chart.RenderedImage();
  const CChartAxis* axis = graph::axisOfKey(chart, key);
  const auto q = graph::quantityOfKey(key);
  const datalog::LogSample& s = w.shown()->samples.at(i);
  const datalog::DisplayUnits units = graph::unitsOf(chart.Readout());
  double value = datalog::displayValue(*q, s, w.shown()->scales, units);
  if (key == "RP") value /= 1000;  // the axis counts thousands
  return std::abs(chart.GetAxis(14)->ValueToPixel(graph::seriesValue(s, key)) - axis->ValueToPixel(value));
}

// The largest misfit of any shown curve, at the sample where it is largest.
inline int worstMisfit(graph::Graph& w) {
  int worst = 0;
  for (const char* key : {"IV", "DC", "TE", "DP", "IT", "OT", "RP", "PC"}) {
    if (!graph::axisOfKey(w.chart(), key)->IsShown()) continue;
    for (std::size_t i = 0; i < w.shown()->samples.size(); i += 7) worst = std::max(worst, misfit(w, key, i));
  }
  return worst;
}

struct GraphRig {
  GraphRig() : app(qtApp()), window(&source, prompter, files) {
    window.resize(1220, 830);
    window.show();
  }
  // Answers every modal dialog of the window with `answer` instead of a run.
  void onDialog(std::function<int(QDialog&)> answer) { window.execDialog = std::move(answer); }
  void download() {
    window.command(graph::gid::kReadButton);
    if (source.worker.joinable()) source.worker.join();
    pumpUntil([&] { return !window.downloading(); }, 3000);
  }

  QApplication& app;
  FakeSource source;
  RecordingPrompter prompter;
  FixedChooser files;
  graph::Graph window;
};

}  // namespace orx::test
