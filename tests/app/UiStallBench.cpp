// Not a test: measures how long the window's thread ever stalls while the
// link worker waits on a silent ESC. Prints the longest gap between two
// 5 ms timer ticks on the window's thread for each scenario.
//
//   ui-stall-bench            (QT_QPA_PLATFORM=offscreen works)
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "device/DeviceManager.h"
#include "app/ORXDlg.h"
#include "tools/SimulatedEsc.h"

using namespace orx;

namespace {

// Runs the window with the device side against `esc` for `ms` and returns
// the longest gap between ticks of a 5 ms timer on the window's thread.
qint64 longestStall(sim::SimulatedEsc& esc, int ms) {
  SharedControls controls;
  MainWindowCommands idle;
  CORXDlg dialog(controls, idle);
  const std::string path = esc.path();
  PortOpener cp210x = [path](const std::string& search) {
    return search == "VID_10C4&PID_EA60" ? fixedPathOpener(path)(search) : std::unique_ptr<SerialPort>();
  };
  PortOpener nothing = [](const std::string&) { return std::unique_ptr<SerialPort>(); };
  DeviceManager device(controls, dialog.prompter(), dialog.fileChooser(), cp210x, nothing);
  device.setIndicatorListener([&dialog](bool a, bool d) { dialog.setStatusDisplay(a, d); });
  dialog.setCommands(device);
  dialog.show();
  device.start();

  QElapsedTimer clock;
  clock.start();
  qint64 last = 0, longest = 0;
  QTimer tick;
  tick.setInterval(5);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    longest = std::max(longest, now - last);
    last = now;
  });
  tick.start();
  QTimer::singleShot(ms, qApp, &QApplication::quit);
  qApp->exec();
  dialog.releaseWaitingThreads();
  device.stop();
  return longest;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);

  // An ESC that never answers at the line's baud: the monitor pings, waits on
  // the echo and cycles the baud, tick after tick.
  {
    sim::Cp210xConfig config;
    config.baud = 57600;  // a rate the baud cycle never reaches
    sim::SimulatedEsc esc(config);
    if (!esc.start()) return 1;
    std::printf("silent CP210x ESC, monitor ticking 8 s: longest UI stall %lld ms\n",
                static_cast<long long>(longestStall(esc, 8000)));
  }
  // An ESC that answers the ping but never the Identify: up to 11 x 2 s on the worker.
  {
    sim::SimulatedEsc esc(sim::Cp210xConfig{});
    esc.addFault(sim::Fault{sim::Command::Identify, sim::FaultKind::Silence, -1, 0});
    if (!esc.start()) return 1;
    std::printf("CP210x Identify without reply, 10 s: longest UI stall %lld ms\n",
                static_cast<long long>(longestStall(esc, 10000)));
  }
  return 0;
}
