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

// Answers a dialog of type D: `act` on it, then OK.
template <class D, class F>
std::function<int(QDialog&)> okAfter(F act) {
  return [act](QDialog& d) {
    auto& dialog = dynamic_cast<D&>(d);
    act(dialog);
    dialog.onOk();
    return dialog.result();
  };
}

inline void mouse(CChartCtrl& chart, QEvent::Type type, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
  chart.RenderedImage();
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(at), chart.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(&chart, &e);
}

// A left-button drag: a zoom, or Reset Zoom when dragged up and left.
inline void drag(CChartCtrl& chart, QPoint from, QPoint to) {
  mouse(chart, QEvent::MouseButtonPress, from, Qt::LeftButton);
  mouse(chart, QEvent::MouseMove, to, Qt::LeftButton);
  mouse(chart, QEvent::MouseButtonRelease, to);
}

inline void zoomIn(CChartCtrl& chart) {
  const ChartRect p = (chart.RenderedImage(), chart.GetPlottingRect());
  drag(chart, QPoint(p.left + p.Width() / 4, p.top + p.Height() / 4), QPoint(p.right - p.Width() / 4, p.bottom - 60));
}

inline void moveOverPlot(CChartCtrl& chart) {
  const ChartRect p = (chart.RenderedImage(), chart.GetPlottingRect());
  mouse(chart, QEvent::MouseMove, QPoint((p.left + p.right) / 2, (p.top + p.bottom) / 2));
}

// The most pixels by which a shown curve misses the point where its own
// axis puts a sample's value (the curves are drawn against the hidden axis).
inline int worstMisfit(graph::Graph& w) {
  CChartCtrl& chart = w.chart();
  chart.RenderedImage();
  const datalog::DisplayUnits units = graph::unitsOf(chart.Readout());
  int worst = 0;
  for (const char* key : {"IV", "DC", "TE", "DP", "IT", "OT", "RP", "PC"}) {
    const CChartAxis* axis = graph::axisOfKey(chart, key);
    if (!axis->IsShown()) continue;
    for (std::size_t i = 0; i < w.shown()->samples.size(); i += 7) {
      const datalog::LogSample& s = w.shown()->samples[i];
      const double value = datalog::displayValue(*graph::quantityOfKey(key), s, w.shown()->scales, units);
      const int drawn = chart.GetAxis(14)->ValueToPixel(graph::seriesValue(s, key));
      worst = std::max(worst, std::abs(drawn - axis->ValueToPixel(key == std::string("RP") ? value / 1000 : value)));
    }
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
