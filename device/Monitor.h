// The connection monitor: one tick every period of timer 1, run by the link
// worker between jobs. It alternates open attempts on the NVQ series port and
// the CP210x adapter, probes the ESC behind an open port, identifies a newly
// answering ESC and starts its settings read, cycles the CP210x baud while the
// ESC is silent, and looks for an ESC waiting in DFU mode every third tick
// with nothing plugged in. It shows no message box: every outcome is a square
// colour, blanked controls or the firmware version text.
//
// Threading: tick() runs on the link worker only; it is not Qt code and
// reaches the window through the FlowHost.
#pragma once

#include <atomic>

#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx {

class Monitor {
 public:
  Monitor(DeviceSession& session, FlowHost& host) : session_(session), host_(host) {}

  void tick();
  // Any thread: an adapter of link `link` (EscLinks::kCp210x or kStm32) was
  // just plugged in. While no port is open, the next tick is that link's turn.
  void deviceAppeared(int link) { appeared_ = link; }

 private:
  void stm32Tick();
  void presenceProbe();
  void cp210xTick();
  void cp210xBootPoll();
  void cp210xPing();
  void dfuSearch();
  void linkLost(SerialLink& link);
  void identifyCp210x();

  DeviceSession& session_;
  FlowHost& host_;
  std::atomic<int> appeared_{-1};
};

}  // namespace orx
