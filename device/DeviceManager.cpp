#include "device/DeviceManager.h"

#include <optional>

#include "device/PortAccessText.h"
#include "datalog/LogDownload.h"
#include "firmware/DfuUpdate.h"
#include "firmware/SessionUpdateHooks.h"
#include "base/ControlIds.h"
#include "link/UsbIds.h"
#include "protocol/DefaultsFlow.h"
#include "protocol/ProtectionsFlow.h"
#include "protocol/ReadSettingsFlow.h"
#include "protocol/RepairModeFlow.h"
#include "protocol/SendSettingsFlow.h"
#include "protocol/UseTimeFlow.h"
#include "settingsfile/AdvancedSettingsFlows.h"

namespace orx {

DeviceManager::DeviceManager(SharedControls& controls, Prompter& prompter, FileChooser& files,
                             PortOpener cp210xOpener, PortOpener stm32Opener, const DiscoveryRoots& roots)
    : controls_(controls),
      prompter_(prompter),
      files_(files),
      session_(cp210xOpener ? std::move(cp210xOpener) : systemOpener(AccessDevice::Cp210xAdapter, roots),
               stm32Opener ? std::move(stm32Opener) : systemOpener(AccessDevice::NvqPort, roots)),
      monitor_(session_, *this),
      worker_([this] {
        monitor_.tick();
        publish();
      }),
      plugWatcher_({kCp210xId, kStm32Id}, [this](size_t index) {
        monitor_.deviceAppeared(index == 0 ? EscLinks::kCp210x : EscLinks::kStm32);
        worker_.tickNow();
      }) {
  session_.links.setStopToken(worker_.stopToken());
}

DeviceManager::~DeviceManager() { stop(); }

void DeviceManager::start() {
  worker_.start();
  plugWatcher_.start();
}

void DeviceManager::stop() {
  plugWatcher_.stop();
  worker_.stop();
  // The worker is gone, so the session is ours now: close the ports.
  session_.links.cp210x.Close();
  session_.links.stm32.Close();
}

DeviceManager::Snapshot DeviceManager::snapshot() const {
  std::lock_guard<std::mutex> lock(snapshotMutex_);
  return snapshot_;
}

PortOpener DeviceManager::systemOpener(AccessDevice device, const DiscoveryRoots& roots) {
  return systemPortOpener(roots, [this, device](const std::string& path, int error) {
    accessRefused(SerialAccessProblem(device, path, error));
  }, [this](const Message& box) { prompter_.ask(box); });  // a device set Windows cannot walk
}

void DeviceManager::accessRefused(const AccessProblem& problem) {
  const auto text = PortAccessText(problem.path, problem.error);
  if (!text) return;
  if (accessListener_ && accessFilter_.tellNow(problem)) accessListener_(problem);
  // The monitor tries again every tick: a reason already told is told again
  // only once the status line was cleared, so it never hides a flow's text.
  const bool fresh = *text != lastPortFailure_;
  lastPortFailure_ = *text;
  controls_.update([&](DialogState& s) {
    if (fresh || s.text(ctl::StatusLine).empty()) s.setText(ctl::StatusLine, *text);
  });
}

bool DeviceManager::findDfuDevice() {
  if (dfuFinder_) return dfuFinder_();
  const bool found = dfu_.EnumerateDfuDevices();
  // A boot loader this user may not open is there, not absent: say so.
  if (!found && dfu_.accessProblem()) accessRefused(*dfu_.accessProblem());
  return found;
}

void DeviceManager::post(std::function<void()> job) {
  worker_.post([this, job = std::move(job)] {
    job();
    publish();
  });
}

void DeviceManager::postCommand(std::function<void()> job) {
  // A command queued behind a job or tick (an Identify of a silent ESC takes
  // seconds) says so at once. When the command's own job starts, the text it
  // replaced comes back, unless something else replaced it meanwhile.
  std::optional<std::string> replaced;
  if (worker_.busy()) {
    replaced = controls_.update([](DialogState& s) {
      std::string before = s.text(ctl::StatusLine);
      if (before == kWaitingText) before.clear();  // a second command queued
      s.setText(ctl::StatusLine, kWaitingText);
      return before;
    });
  }
  post([this, replaced = std::move(replaced), job = std::move(job)] {
    if (replaced) {
      controls_.update([&](DialogState& s) {
        if (s.text(ctl::StatusLine) == kWaitingText) s.setText(ctl::StatusLine, *replaced);
      });
    }
    job();
  });
}

void DeviceManager::publish() {
  Snapshot now;
  now.adapterOpen = session_.adapterOpen();
  now.deviceAnswering = session_.deviceAnswering();
  now.nvqAnswering = session_.nvqAnswering();
  now.stm32AdapterOpen = session_.links.stm32.AdapterState == 2;
  now.kept = session_.kept;
  bool squaresChanged = false;
  {
    std::lock_guard<std::mutex> lock(snapshotMutex_);
    squaresChanged = !published_ || now.adapterOpen != snapshot_.adapterOpen ||
                     now.deviceAnswering != snapshot_.deviceAnswering;
    snapshot_ = now;
    published_ = true;
  }
  if (squaresChanged && indicatorListener_) indicatorListener_(now.adapterOpen, now.deviceAnswering);
}

void DeviceManager::postSettingsRead() {
  post([this] { runSettingsRead(session_, *this); });
}

void DeviceManager::readSettings() {
  postCommand([this] { runReadSettings(session_, *this); });
}

void DeviceManager::sendSettings() {
  postCommand([this] { runSendSettings(session_, *this); });
}

void DeviceManager::defaultSettings() {
  postCommand([this] { runDefaultSettings(session_, *this); });
}

void DeviceManager::repairModeClicked() {
  postCommand([this] { runRepairModeClick(session_, *this); });
}

void DeviceManager::updateFirmware() {
  postCommand([this] { runFirmwareUpdate(); });
}

DeviceManager::FirmwareResult DeviceManager::runFirmwareUpdate() {
  // Older ESCs take a serial image through the CP210x adapter; NVQ series
  // ESCs are updated over USB DFU.
  if (session_.links.cp210x.AdapterState == 2) return UpdateFirmwareSerial(session_, *this, files_);
  return RunDfuFirmwareUpdate(session_, *this, files_, dfu_);
}

void DeviceManager::saveAdvancedSettings() { SaveAdvancedSettings(controls_, prompter_, files_); }

void DeviceManager::loadAdvancedSettings() { loadSettingsFile(); }

SettingsLoadOutcome DeviceManager::loadSettingsFile() {
  const Snapshot s = snapshot();
  cfg::LoadContext context;
  context.escDetected = s.deviceAnswering;
  context.stm32EscActive = s.nvqAnswering;
  context.stm32AdapterConnected = s.stm32AdapterOpen;
  return LoadAdvancedSettings(controls_, prompter_, files_, context);
}

void DeviceManager::useTime() {
  if (auxWindows_ != nullptr) auxWindows_->openUseTime();
}

void DeviceManager::protections() {
  if (protectionsAllowed() && auxWindows_ != nullptr) auxWindows_->openProtections();
}

bool DeviceManager::protectionsAllowed() {
  if (ProtectionsWindowAllowed(firmwareVersion())) return true;
  prompter_.ask(protectionsRefusedBox());
  return false;
}

void DeviceManager::help() {
  if (auxWindows_ != nullptr) auxWindows_->openHelp();
}

void DeviceManager::version() {
  if (auxWindows_ != nullptr) auxWindows_->openVersion();
}

void DeviceManager::queryUseTime(TextListener show) {
  postCommand([this, show = std::move(show)] {
    const UseTimeResult r = runQueryUseTime(session_, *this, lastUseTime_);
    switch (r.outcome) {
      case UseTimeOutcome::Read:
      case UseTimeOutcome::NoAnswer:
        if (show) show(r.text);
        break;
      case UseTimeOutcome::WrongLink: break;
    }
  });
}

void DeviceManager::clearUseTime() {
  postCommand([this] { runClearUseTime(session_, *this); });
}

void DeviceManager::readProtections(StatesListener show) {
  postCommand([this, show = std::move(show)] {
    const ProtectionsRead r = runReadProtections(session_, *this);
    if (r.answered && show) show(r.states);
  });
}

void DeviceManager::clearProtections(StatesListener show) {
  postCommand([this, show = std::move(show)] {
    const ProtectionsRead r = runClearProtections(session_, *this);
    if (r.answered && show) show(r.states);
  });
}

void DeviceManager::openDataLog() {
  if (dataLogOpener_) dataLogOpener_();
}

bool DeviceManager::requestDownload(std::shared_ptr<LogSink> sink) {
  // One download at a time: a second READ ESC LOG while one runs is dropped.
  if (!downloadGate_.tryClaim()) return false;
  postCommand([this, sink] { downloadLog(*sink); });
  return true;
}

datalog::DownloadResult DeviceManager::downloadLog(LogSink& sink) {
  return datalog::runLogDownload(session_, *this, logSinkHooks(sink), downloadGate_);
}

void DeviceManager::requestClear() {
  postCommand([this] { datalog::runClearLog(session_, *this); });
}

std::string DeviceManager::firmwareVersion() const {
  return controls_.read([](const DialogState& s) { return s.text(ctl::FirmwareVersion); });
}

}  // namespace orx
