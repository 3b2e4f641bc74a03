#include "app/DeviceManager.h"

#include "firmware/SessionUpdateHooks.h"
#include "protocol/DefaultsFlow.h"
#include "protocol/ReadSettingsFlow.h"
#include "protocol/RepairModeFlow.h"
#include "protocol/SendSettingsFlow.h"
#include "settingsfile/AdvancedSettingsFlows.h"

namespace orx {

DeviceManager::DeviceManager(SharedControls& controls, Prompter& prompter, FileChooser& files,
                             PortOpener cp210xOpener, PortOpener stm32Opener)
    : controls_(controls),
      prompter_(prompter),
      files_(files),
      session_(std::move(cp210xOpener), std::move(stm32Opener)),
      monitor_(session_, *this),
      worker_([this] {
        monitor_.tick();
        publish();
      }) {}

DeviceManager::~DeviceManager() { stop(); }

void DeviceManager::start() { worker_.start(); }

void DeviceManager::stop() {
  worker_.stop();
  // The worker is gone, so the session is ours now: close the ports.
  session_.links.cp210x.Close();
  session_.links.stm32.Close();
}

DeviceManager::Snapshot DeviceManager::snapshot() const {
  std::lock_guard<std::mutex> lock(snapshotMutex_);
  return snapshot_;
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
    // The serial update needs the CP210x adapter; NVQ series ESCs are updated
    // over USB DFU, which this build does not offer yet.
    if (session_.links.cp210x.AdapterState != 2) return;
    UpdateFirmwareSerial(session_, *this, files_);
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

}  // namespace orx
