// The window's longest stall while each job of the ESC side runs: a 5 ms
// timer on the window's thread, the clock started after the window's first
// paint, and beside each figure the longest gap of the same timer in an empty
// event loop over the same time, so that the machine's own noise shows.
#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTimer>
#include <cstdio>
#include <fstream>

#include "Bench.h"
#include "FakeBootLoader.h"
#include "device/DeviceManager.h"
#include "app/ORXDlg.h"
#include "base/ControlIds.h"
#include "graph/Graph.h"
#include "graph/GraphIds.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/RecordingPrompter.h"
#include "tools/SimulatedEsc.h"

namespace orx::bench {
namespace {

// Longest gap between ticks of a 5 ms timer on this thread while the event
// loop runs until `done` holds (or `limitMs` pass), and at least `minMs`: a
// job's status can show before its last exchange.
struct Stall {
  double longestMs = 0;
  double tookMs = 0;
  bool done = false;
};
Stall runUntil(const std::function<bool()>& done, int limitMs, int minMs = 0) {
  QTimer tick;
  tick.start(5);
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0, longest = 0;
  Stall out;
  while ((!(out.done = done()) || clock.elapsed() < minMs) && clock.elapsed() < limitMs) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qint64 now = clock.elapsed();
    longest = std::max(longest, now - last);
    last = now;
  }
  out.longestMs = static_cast<double>(longest);
  out.tookMs = static_cast<double>(clock.elapsed());
  return out;
}

// The same loop with nothing to do but the timer.
double emptyLoopStall(double ms) {
  return runUntil([] { return false; }, static_cast<int>(ms)).longestMs;
}

bool line(const char* job, const Stall& s) {
  std::printf("  %-36s longest UI stall %5.0f ms over %6.0f ms  (empty event loop: %3.0f ms)  %s\n", job, s.longestMs,
              s.tookMs, emptyLoopStall(s.tookMs), s.done ? "done" : "NOT DONE");
  std::fflush(stdout);
  return s.done;
}

struct Window {
  SharedControls controls;
  MainWindowCommands idle;
  CORXDlg dialog{controls, idle};
  test::RecordingPrompter prompter;
  test::FixedChooser files;
  std::unique_ptr<DeviceManager> device;
  bool painted = false;

  Window(PortOpener cp210x, PortOpener stm32) {
    device = std::make_unique<DeviceManager>(controls, prompter, files, std::move(cp210x), std::move(stm32));
    device->setDfuFinder([] { return false; });
    device->setIndicatorListener([this](bool a, bool d) {
      QMetaObject::invokeMethod(&dialog, [this, a, d] { dialog.setStatusDisplay(a, d); });
    });
    dialog.setCommands(*device);
    dialog.show();
    runUntil([] { return false; }, 300);  // shown and painted before the clock runs
    device->start();
  }
  ~Window() {
    dialog.releaseWaitingThreads();
    device->stop();
  }
  std::string status() const { return controls.read([](const DialogState& s) { return s.text(ctl::StatusLine); }); }
  std::function<bool()> statusIs(std::string text) {
    return [this, text] { return status() == text; };
  }
  void clearStatus() {
    controls.update([](DialogState& s) { s.setText(ctl::StatusLine, ""); });
  }
};

PortOpener none() {
  return [](const std::string&) { return std::unique_ptr<SerialPort>(); };
}

}  // namespace

bool stallBench() {
  std::printf("UI stalls: longest gap of a 5 ms timer on the window's thread, per job\n");
  bool ok = true;
  {
    sim::NvqConfig config;
    config.log.bytes = 64768;
    sim::SimulatedEsc esc(config);
    if (!esc.start()) return false;
    Window w(none(), fixedPathOpener(esc.path()));
    ok = line("NVQ read (on plugging in)", runUntil(w.statusIs("READ SETTINGS COMPLETED"), 10000)) && ok;
    w.clearStatus();
    w.device->sendSettings();
    ok = line("NVQ send", runUntil(w.statusIs("SETTINGS UPDATED"), 10000, 1000)) && ok;
    w.clearStatus();
    w.device->defaultSettings();
    ok = line("NVQ default", runUntil(w.statusIs("DEFAULT SETTINGS UPDATED"), 10000, 1000)) && ok;
    graph::Graph graph(w.device.get(), w.prompter, w.files);
    graph.resize(1220, 830);
    graph.show();
    runUntil([] { return false; }, 300);
    graph.command(graph::gid::kReadButton);
    ok = line("log download, decode and plot", runUntil([&] { return graph.sampleCount() > 5000; }, 60000)) && ok;
    graph.close();
    esc.addFault(sim::Fault{sim::Command::Ping, sim::FaultKind::Silence, -1, 0});
    w.device->readSettings();
    const Stall silent = runUntil([] { return false; }, 5000);
    ok = line("silent NVQ, monitor and read 5 s", {silent.longestMs, silent.tookMs, true}) && ok;
  }
  {
    sim::SimulatedEsc esc(sim::Cp210xConfig{});
    esc.setLinePacing(true);
    if (!esc.start()) return false;
    const std::vector<uint8_t> image = test::MakeImageBytes(std::vector<size_t>(16, 254));
    const std::string path = "/tmp/A_orx-bench.orx";  // the name carries the ESC's letter
    std::ofstream(path, std::ios::binary) << test::OrxText(image);
    Window w(fixedPathOpener(esc.path()), none());
    runUntil(w.statusIs("READ SETTINGS COMPLETED"), 10000);
    w.clearStatus();
    w.files.path = path;
    w.device->updateFirmware();
    ok = line("CP210x firmware update (4 KB)", runUntil(w.statusIs("FIRMWARE UPDATED"), 60000)) && ok;
    std::remove(path.c_str());
  }
  {
    sim::Cp210xConfig config;
    config.baud = 57600;  // a rate the baud cycle never reaches
    sim::SimulatedEsc esc(config);
    if (!esc.start()) return false;
    Window w(fixedPathOpener(esc.path()), none());
    const Stall silent = runUntil([] { return false; }, 6000);
    ok = line("silent CP210x, monitor 6 s", {silent.longestMs, silent.tookMs, true}) && ok;
  }
  return ok;
}

}  // namespace orx::bench
