// The ESC side of the program: the link worker thread, the device session it
// owns, the monitor ticking between jobs, and the user's commands turned into
// jobs. Not Qt code.
//
// Front ends (the window, orx-esc) answer the engine through four things:
// a Prompter for boxes and questions, a FileChooser for file choices, the
// SharedControls whose changes carry the status line, the progress bar and
// the settings, and a LogSink for a download's progress and bytes.
//
// Threading: the constructor, start(), stop(), the MainWindowCommands and
// snapshot() are called on the window's thread. Everything that touches the
// session runs on the worker. After every job and tick the worker publishes a
// Snapshot (mutex-guarded) and, when the squares changed colour, calls the
// indicator listener on the worker thread; the window posts it on to itself.
#pragma once

#include <functional>
#include <memory>
#include <future>
#include <mutex>
#include <type_traits>
#include <variant>

#include "device/LinkWorker.h"
#include "device/MainWindowCommands.h"
#include "device/Monitor.h"
#include "base/FileChooser.h"
#include "device/DataLogSource.h"
#include "device/DfuBusChoice.h"
#include "device/EscRequests.h"
#include "firmware/DfuService.h"
#include "firmware/DfuUpdate.h"
#include "firmware/SerialFirmwareUpdate.h"
#include "link/PlugWatcher.h"
#include "datalog/LogDownload.h"
#include "link/AccessProblem.h"
#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"
#include "settingsfile/AdvancedSettingsFlows.h"

namespace orx {

// The status line while a command waits for the job or tick before it.
inline constexpr const char* kWaitingText = "PLEASE WAIT - THE ESC IS BUSY...";

class DeviceManager : public MainWindowCommands,
                      public DataLogSource,
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
  using AccessListener = std::function<void(const AccessProblem&)>;
  // UPDATE FIRMWARE ends as the serial transfer or as the DFU update.
  using FirmwareResult = std::variant<SerialUpdateResult, DfuUpdateResult>;

  // Without openers the adapters are looked up below `roots` (tests give a fake tree).
  DeviceManager(SharedControls& controls, Prompter& prompter, FileChooser& files,
                PortOpener cp210xOpener = {}, PortOpener stm32Opener = {}, const DiscoveryRoots& roots = {});
  ~DeviceManager() override;

  void setIndicatorListener(IndicatorListener listener) { indicatorListener_ = std::move(listener); }
  // Told on the worker thread, once per device and reason, when an adapter or
  // a DFU boot loader is plugged in but cannot be opened. Set before start().
  void setAccessListener(AccessListener listener) { accessListener_ = std::move(listener); }
  // Replaces the USB search for a DFU device of the monitor and repair mode (tests).
  void setDfuFinder(std::function<bool()> finder) { dfuFinder_ = std::move(finder); }

  // Opens the use-time, protections, help and version windows for the menu;
  // those entries do nothing until it is set. Set once, before start().
  void setAuxWindows(AuxWindows* windows) { auxWindows_ = windows; }
  // Opens the data log window (a Qt window, so the window side provides it).
  void setDataLogOpener(std::function<void()> opener) { dataLogOpener_ = std::move(opener); }

  // Starts the worker with the monitor ticking.
  void start();
  // Stops the worker: the running job ends at its next wait, waiting jobs are
  // dropped, the ports close.
  void stop();

  Snapshot snapshot() const;

  // For a front end that waits on outcomes (orx-esc): runs `job(session,
  // flowHost)` as a job like any other and returns its result once it has
  // ended. Never call it from a job; the worker must be running.
  template <class Job>
  auto runAndWait(Job job) -> std::invoke_result_t<Job&, DeviceSession&, FlowHost&> {
    using Result = std::invoke_result_t<Job&, DeviceSession&, FlowHost&>;
    std::packaged_task<Result()> task([this, &job] { return job(session_, static_cast<FlowHost&>(*this)); });
    std::future<Result> done = task.get_future();
    post([&task] { task(); });
    return done.get();
  }

  // The log download job, its progress and bytes going to `sink`. Worker
  // thread only (requestDownload() posts it).
  datalog::DownloadResult downloadLog(LogSink& sink);
  // File > Load Advanced Settings with what the ESC side knows now.
  SettingsLoadOutcome loadSettingsFile();
  // The UPDATE FIRMWARE job. Worker thread only (updateFirmware() posts it).
  FirmwareResult runFirmwareUpdate();
  // Options > Protections' check: true for firmware with protection records,
  // else the refusal box is shown.
  bool protectionsAllowed();

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

  // DataLogSource, called on the front end's thread: the jobs are queued.
  bool requestDownload(std::shared_ptr<LogSink> sink) override;
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
  bool findDfuDevice() override;
  void forgetDfuDeviceName() override { dfu_.forgetDeviceName(); }
  bool readDfuMapping() override { return dfu_.CreateMappingFromDevice() == dfurc::kSuccess; }
  void leaveDfuMode() override { dfu_.LeaveDfuMode(); }
  void postSettingsRead() override;

  void post(std::function<void()> job);
  // A job the user asked for: when it has to wait, the status line says so.
  void postCommand(std::function<void()> job);
  // The adapter lookup of the real system, telling the user when a port that
  // is plugged in cannot be opened.
  PortOpener systemOpener(AccessDevice device, const DiscoveryRoots& roots);
  // Worker thread: the status line names it; the listener hears of it once.
  void accessRefused(const AccessProblem& problem);
  void publish();

  SharedControls& controls_;
  Prompter& prompter_;
  FileChooser& files_;
  DeviceSession session_;
  Monitor monitor_;
  LinkWorker worker_;
  PlugWatcher plugWatcher_;
  IndicatorListener indicatorListener_;
  AccessListener accessListener_;
  AccessProblemFilter accessFilter_;  // worker thread only
  std::function<bool()> dfuFinder_;
  // Worker thread only, like the session.
  std::unique_ptr<DfuBus> dfuBus_ = MakeDfuBus();
  DfuService dfu_{*dfuBus_};
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
