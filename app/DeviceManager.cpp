#include "app/DeviceManager.h"

#include "app/PortAccessText.h"
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
                             PortOpener cp210xOpener, PortOpener stm32Opener)
    : controls_(controls),
      prompter_(prompter),
      files_(files),
      session_(cp210xOpener ? std::move(cp210xOpener) : systemOpener(),
               stm32Opener ? std::move(stm32Opener) : systemOpener()),
      monitor_(session_, *this),
      worker_([this] {
        monitor_.tick();
        publish();
      }),
      plugWatcher_({kCp210xId, kStm32Id}, [this](size_t index) {
        monitor_.deviceAppeared(index == 0 ? EscLinks::kCp210x : EscLinks::kStm32);
        worker_.tickNow();
      }) {}

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

PortOpener DeviceManager::systemOpener() {
  return systemPortOpener({}, [this](const std::string& path, int error) {
    const auto text = PortAccessText(path, error);
    // Once per new reason: the monitor tries again every tick.
    if (!text || *text == lastPortFailure_) return;
    lastPortFailure_ = *text;
    controls_.update([&](DialogState& s) { s.setText(ctl::StatusLine, *text); });
  });
}

void DeviceManager::post(std::function<void()> job) {
  worker_.post([this, job = std::move(job)] {
    job();
    publish();
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
  post([this] { runReadSettings(session_, *this); });
}

void DeviceManager::sendSettings() {
  post([this] { runSendSettings(session_, *this); });
}

void DeviceManager::defaultSettings() {
  post([this] { runDefaultSettings(session_, *this); });
}

void DeviceManager::repairModeClicked() {
  post([this] { runRepairModeClick(session_, *this); });
}

void DeviceManager::updateFirmware() {
  post([this] {
    // Older ESCs take a serial image through the CP210x adapter; NVQ series
    // ESCs are updated over USB DFU.
    if (session_.links.cp210x.AdapterState == 2) {
      UpdateFirmwareSerial(session_, *this, files_);
    } else {
      RunDfuFirmwareUpdate(session_, *this, files_, dfu_);
    }
  });
}

void DeviceManager::saveAdvancedSettings() { SaveAdvancedSettings(controls_, prompter_, files_); }

void DeviceManager::loadAdvancedSettings() {
  const Snapshot s = snapshot();
  cfg::LoadContext context;
  context.escDetected = s.deviceAnswering;
  context.stm32EscActive = s.nvqAnswering;
  context.stm32AdapterConnected = s.stm32AdapterOpen;
  LoadAdvancedSettings(controls_, prompter_, files_, context);
}

void DeviceManager::useTime() {
  if (auxWindows_ != nullptr) auxWindows_->openUseTime();
}

void DeviceManager::protections() {
  const std::string version = controls_.read([](const DialogState& s) { return s.text(ctl::FirmwareVersion); });
  if (!ProtectionsWindowAllowed(version)) {
    prompter_.ask(protectionsRefusedBox());
    return;
  }
  if (auxWindows_ != nullptr) auxWindows_->openProtections();
}

void DeviceManager::help() {
  if (auxWindows_ != nullptr) auxWindows_->openHelp();
}

void DeviceManager::version() {
  if (auxWindows_ != nullptr) auxWindows_->openVersion();
}

void DeviceManager::queryUseTime(TextListener show) {
  post([this, show = std::move(show)] {
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
  post([this] { runClearUseTime(session_, *this); });
}

void DeviceManager::readProtections(StatesListener show) {
  post([this, show = std::move(show)] {
    const ProtectionsRead r = runReadProtections(session_, *this);
    if (r.answered && show) show(r.states);
  });
}

void DeviceManager::clearProtections(StatesListener show) {
  post([this, show = std::move(show)] {
    const ProtectionsRead r = runClearProtections(session_, *this);
    if (r.answered && show) show(r.states);
  });
}

void DeviceManager::openDataLog() {
  if (dataLogOpener_) dataLogOpener_();
}

void DeviceManager::requestDownload(std::shared_ptr<graph::LogInbox> inbox) {
  // One download at a time: a second READ ESC LOG while one runs is dropped.
  if (!downloadGate_.tryClaim()) return;
  post([this, inbox] {
    datalog::DownloadHooks hooks;
    hooks.progress = [inbox](double percent) { inbox->progress(percent); };
    hooks.deliver = [inbox](std::span<const std::uint8_t> bytes) { inbox->deliver(bytes); };
    datalog::runLogDownload(session_, *this, hooks, downloadGate_);
  });
}

void DeviceManager::requestClear() {
  post([this] { datalog::runClearLog(session_, *this); });
}

std::string DeviceManager::firmwareVersion() const {
  return controls_.read([](const DialogState& s) { return s.text(ctl::FirmwareVersion); });
}

}  // namespace orx
