// The ESC side of the program: the link worker thread, the device session it
// owns, the monitor ticking between jobs, and the user's commands turned into
// jobs. Not Qt code.
//
// Threading: the constructor, start(), stop(), the MainWindowCommands and
// snapshot() are called on the window's thread. Everything that touches the
// session runs on the worker. After every job and tick the worker publishes a
// Snapshot (mutex-guarded) and, when the squares changed colour, calls the
// indicator listener on the worker thread; the window posts it on to itself.
#pragma once

#include <functional>
#include <mutex>

#include "app/LinkWorker.h"
#include "app/MainWindowCommands.h"
#include "app/Monitor.h"
#include "base/FileChooser.h"
#include "dialogs/EscRequests.h"
#include "firmware/DfuService.h"
#include "firmware/LibusbDfuBus.h"
#include "link/PlugWatcher.h"
#include "datalog/LogDownload.h"
#include "graph/DataLogSource.h"
#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx {

class DeviceManager : public MainWindowCommands,
                      public graph::DataLogSource,
                      public UseTimeRequests,
                      public ProtectionsRequests,
                      private FlowHost {
 public:
  // What the window may know of the ESC side between jobs.
  struct Snapshot {
    bool adapterOpen = false;       // either link's AdapterState is 2
    bool deviceAnswering = false;   // either link's DeviceState is 2
    bool nvqAnswering = false;      // the active link is the STM32 link and its ESC answers
    bool stm32AdapterOpen = false;  // the STM32 port is open
    EscSettings kept;               // the block of the last NVQ read
  };
  using IndicatorListener = std::function<void(bool adapterGreen, bool deviceGreen)>;

  DeviceManager(SharedControls& controls, Prompter& prompter, FileChooser& files,
                PortOpener cp210xOpener = {}, PortOpener stm32Opener = {});
  ~DeviceManager() override;

  void setIndicatorListener(IndicatorListener listener) { indicatorListener_ = std::move(listener); }
  // Replaces the USB search for a DFU device of the monitor and repair mode (tests).
  void setDfuFinder(std::function<bool()> finder) { dfuFinder_ = std::move(finder); }

  // Opens the use-time, protections, help and version windows for the menu;
  // those entries do nothing until it is set. Set once, before start().
  void setAuxWindows(AuxWindows* windows) { auxWindows_ = windows; }
  // Opens the data log window (a Qt window, so the window side provides it).
  void setDataLogOpener(std::function<void()> opener) { dataLogOpener_ = std::move(opener); }

  // Starts the worker with the monitor ticking.
  void start();
  // Lets the running job finish and joins the worker; waiting jobs are dropped.
  void stop();

  Snapshot snapshot() const;

  // MainWindowCommands: each posts one job and returns at once, except the
  // settings file commands, which run here (they never talk to the ESC).
  void readSettings() override;
  void sendSettings() override;
  void defaultSettings() override;
  void repairModeClicked() override;
  void updateFirmware() override;
  void saveAdvancedSettings() override;
  void loadAdvancedSettings() override;
  void useTime() override;
  void protections() override;
  void help() override;
  void version() override;
  void openDataLog() override;

  // graph::DataLogSource, called on the window's thread: the jobs are queued.
  void requestDownload(std::shared_ptr<graph::LogInbox> inbox) override;
  void requestClear() override;
  std::string firmwareVersion() const override;

  // The auxiliary windows' requests: each posts one job; the listener is
  // called on the worker thread when the job has an answer.
  void queryUseTime(TextListener show) override;
  void clearUseTime() override;
  void readProtections(StatesListener show) override;
  void clearProtections(StatesListener show) override;

 private:
  // FlowHost, worker thread only.
  SharedControls& controls() override { return controls_; }
  Prompter& prompter() override { return prompter_; }
  void restartMonitor(int ms) override { worker_.restartMonitor(ms); }
  void indicatorsChanged() override { publish(); }
  bool findDfuDevice() override { return dfuFinder_ ? dfuFinder_() : dfu_.EnumerateDfuDevices(); }
  void forgetDfuDeviceName() override { dfu_.forgetDeviceName(); }
  bool readDfuMapping() override { return dfu_.CreateMappingFromDevice() == dfurc::kSuccess; }
  void leaveDfuMode() override { dfu_.LeaveDfuMode(); }
  void postSettingsRead() override;

  void post(std::function<void()> job);
  // The adapter lookup of the real system, telling the user when a port that
  // is plugged in cannot be opened.
  PortOpener systemOpener();
  void publish();

  SharedControls& controls_;
  Prompter& prompter_;
  FileChooser& files_;
  DeviceSession session_;
  Monitor monitor_;
  LinkWorker worker_;
  PlugWatcher plugWatcher_;
  IndicatorListener indicatorListener_;
  std::function<bool()> dfuFinder_;
  // Worker thread only, like the session.
  LibusbDfuBus dfuBus_;
  DfuService dfu_{dfuBus_};
  AuxWindows* auxWindows_ = nullptr;
  std::function<void()> dataLogOpener_;
  datalog::DownloadGate downloadGate_;
  std::string lastPortFailure_;  // worker thread only
  std::string lastUseTime_;  // worker thread only: the use time kept between reads

  mutable std::mutex snapshotMutex_;
  Snapshot snapshot_;
  bool published_ = false;
};

}  // namespace orx
