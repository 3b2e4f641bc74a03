// The program around the flows, for the flow tests: the shared controls as
// the window starts them, a prompter that records and answers boxes, and a
// host that records monitor periods, indicator repaints, DFU searches and
// posted reads. A Rig drives the monitor tick by tick and runs each posted
// read right after the tick, as the link worker would run its job.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/Monitor.h"
#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "link/PortOpener.h"
#include "link/PosixSerialPort.h"
#include "link/UsbIds.h"
#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"
#include "protocol/ReadSettingsFlow.h"

namespace orx::test {

class RecordingPrompter : public Prompter {
 public:
  std::vector<Message> shown;
  MsgAnswer ask(const Message& message) override {
    shown.push_back(message);
    return MsgAnswer::Ok;
  }
};

class TestHost : public FlowHost {
 public:
  TestHost() {
    shared.update([](DialogState& s) {
      for (int id : lists::allListIds()) s.setItems(id, lists::initialEntries(id));
      s.takeChanged();
    });
  }

  SharedControls& controls() override { return shared; }
  Prompter& prompter() override { return boxes; }
  void restartMonitor(int ms) override { periods.push_back(ms); }
  void indicatorsChanged() override { ++indicatorCalls; }
  bool findDfuDevice() override {
    ++dfuSearches;
    return dfuFound ? dfuFound() : false;
  }
  void postSettingsRead() override { ++postedReads; }

  DialogState snapshot() const {
    return shared.read([](const DialogState& s) { return s; });
  }
  std::string status() const { return text(ctl::StatusLine); }
  std::string text(int id) const {
    return shared.read([id](const DialogState& s) { return s.text(id); });
  }
  int lastPeriod() const { return periods.empty() ? 0 : periods.back(); }

  SharedControls shared;
  RecordingPrompter boxes;
  std::vector<int> periods;
  int indicatorCalls = 0;
  int dfuSearches = 0;
  std::function<bool()> dfuFound;
  int postedReads = 0;
};

// Opens `path` only for the adapter id `id`; every other search finds nothing.
inline PortOpener openerFor(std::string id, std::string path) {
  return [id = std::move(id), path = std::move(path)](const std::string& search) -> std::unique_ptr<SerialPort> {
    if (path.empty() || search != id) return nullptr;
    return PosixSerialPort::open(path);
  };
}

struct Rig {
  Rig(std::string cp210xPath, std::string stm32Path)
      : session(openerFor(kCp210xId, std::move(cp210xPath)), openerFor(kStm32Id, std::move(stm32Path))) {}

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
