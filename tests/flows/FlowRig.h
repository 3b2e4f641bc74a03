// The program around the flows, for the flow tests: the shared controls as
// the window starts them, a prompter that records and answers boxes, and a
// host that records monitor periods, indicator repaints, DFU searches and
// posted reads. A Rig drives the monitor tick by tick and runs each posted
// read right after the tick, as the link worker would run its job.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "device/Monitor.h"
#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "link/UsbIds.h"
#include "protocol/DeviceSession.h"
#include "protocol/ReadSettingsFlow.h"
#include "tests/support/PortOpeners.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/StartControls.h"

namespace orx::test {

// The shared controls as the window starts them.
class TestHost : public RecordingHost {
 public:
  TestHost() {
    shared.update([](DialogState& s) {
      fillStartLists(s);
      s.takeChanged();
    });
  }
};

struct Rig {
  Rig(std::string cp210xPath, std::string stm32Path)
      : session(onlyFor(kCp210xId, std::move(cp210xPath)), onlyFor(kStm32Id, std::move(stm32Path))) {}

  void tick() {
    monitor.tick();
    while (readsRun < host.postedReads) {
      ++readsRun;
      runSettingsRead(session, host);
    }
  }
  // Ticks until `done` holds; false when `maxTicks` ran out.
  template <class P>
  bool tickUntil(P done, int maxTicks) {
    for (int i = 0; i < maxTicks; ++i) {
      if (done()) return true;
      tick();
    }
    return done();
  }
  bool adapterGreen() const { return session.adapterOpen(); }
  bool deviceGreen() const { return session.deviceAnswering(); }
  void setRepairMode(bool ticked) {
    host.shared.update([&](DialogState& s) { s.setChecked(ctl::RepairMode, ticked); });
  }

  DeviceSession session;
  TestHost host;
  Monitor monitor{session, host};
  int readsRun = 0;
};

}  // namespace orx::test
