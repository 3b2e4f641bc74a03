#include "firmware/DfuUpdate.h"

#include "base/ControlIds.h"
#include "base/Format.h"
#include "firmware/DfuFile.h"
#include "firmware/FirmwareVersionCheck.h"
#include "firmware/SerialFirmwareUpdate.h"
#include "link/StopWait.h"

namespace orx {

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint8_t kTarget = 0;
constexpr int kMonitorRestartMs = 500;

void setStatus(FlowHost& host, const std::string& text) {
  host.controls().update([&text](DialogState& s) { s.setText(ctl::StatusLine, text); });
}

void setButtonsEnabled(FlowHost& host, bool enabled) {
  host.controls().update([enabled](DialogState& s) {
    s.setEnabled(ctl::UpdateFirmware, enabled);
    s.setEnabled(ctl::DefaultSettings, enabled);
    s.setEnabled(ctl::SendSettings, enabled);
  });
}

bool repairMode(FlowHost& host) {
  return host.controls().read([](const DialogState& s) { return s.checked(ctl::RepairMode); });
}

void closeStm32(DeviceSession& session, FlowHost& host) {
  session.DfuWaiting = false;
  session.links.stm32.Close();
  host.indicatorsChanged();
}

// The update could not finish: say so, and give the window and the monitor back.
DfuUpdateResult fail(DeviceSession& session, FlowHost& host, DfuOpCode phase, uint32_t code, DfuUpdateResult result) {
  setStatus(host, kFirmwareUpdateFailedText);
  closeStm32(session, host);
  host.prompter().ask(errorBox(DfuFailureText(phase, code)));
  setButtonsEnabled(host, true);
  host.restartMonitor(kMonitorRestartMs);
  return result;
}

// Step 1 of the erase: the image for the target, the download copy, the checks against the map.
struct Upgrade {
  std::shared_ptr<const DfuImage> erase;
  std::shared_ptr<const DfuImage> download;
};

}  // namespace

std::string DfuTargetText(int target, const std::string& text) { return strprintf("Target %02i: %s", target, text.c_str()); }

std::string DfuPhaseText(DfuOpCode operation, int percent, int target) {
  switch (operation) {
    case DfuOpCode::Detach: return strprintf("Detaching %i%%...", percent);
    case DfuOpCode::Return: return strprintf("Leaving DFU mode %i%%...", percent);
    case DfuOpCode::Upload: return strprintf("Target %02i: Uploading %i%%...", target, percent);
    case DfuOpCode::Erase: return strprintf("Erase Phase (%i%%)...", percent);
    case DfuOpCode::Upgrade: return strprintf(" Download Phase (%i%%)...", percent);
  }
  return {};
}

std::string DfuAccessText(const AccessProblem& problem) {
  const AccessFacts facts = LookUpAccessFacts(problem, DefaultRuleFiles());
  return std::string(kDfuNoAccessText) + "\n\n" + AccessProblemSummary(problem) + "\n\n" +
         AccessProblemFix(problem, facts);
}

std::string DfuFailureText(DfuOpCode phase, uint32_t code) {
  const char* what = phase == DfuOpCode::Erase ? "Erase" : "Download";
  return strprintf("Update Error: DFU %s Failed (0x%08X) - \nPlease Reconnect and Power Cycle Device.", what,
                   unsigned(code));
}

std::optional<std::string> ChooseDfuFile(FlowHost& host, FileChooser& files, int hardwareCode,
                                         DfuUpdateResult& refused) {
  FileDialogRequest request;
  request.filter = kDfuFileFilter;
  request.defaultExtension = "dfu";
  request.folder = "dfu";
  std::optional<std::string> path = files.choose(request);
  if (!path || path->empty()) {
    refused = DfuUpdateResult::Cancelled;
    return std::nullopt;
  }
  if (!repairMode(host) && !FirmwareFileFits(hardwareCode, *path)) {
    host.prompter().ask(errorBox(kDfuWrongFileText));
    refused = DfuUpdateResult::WrongFile;
    return std::nullopt;
  }
  if (!ReadDfuFile(*path).ok()) {
    host.prompter().ask(errorBox(kDfuBadFormatText));
    refused = DfuUpdateResult::BadFile;
    return std::nullopt;
  }
  return path;
}

namespace {

// LaunchDfuUpgrade step 1-2: the image for the target, checked against its memory.
DfuUpdateResult prepareUpgrade(FlowHost& host, DfuService& dfu, const std::string& path, Upgrade& upgrade,
                               uint32_t& code) {
  const DfuFileResult file = ReadDfuFile(path);
  const DfuImage* image = file.ok() ? file.file.imageFor(kTarget) : nullptr;
  if (image == nullptr) {
    setStatus(host, DfuTargetText(kTarget, kDfuNoImageText));
    return DfuUpdateResult::NoImage;
  }
  const DfuMemoryMap* map = dfu.mappingFor(kTarget);
  if (map == nullptr) {
    code = dfurc::kBadParameter;
    return DfuUpdateResult::LaunchFailed;
  }
  code = FilterImageForOperation(*image, *map, DfuOpCode::Upgrade);
  if (code == dfurc::kSuccess) code = FilterImageForOperation(*image, *map, DfuOpCode::Erase);
  if (code != dfurc::kSuccess) return DfuUpdateResult::LaunchFailed;
  upgrade.erase = std::make_shared<DfuImage>(*image);
  upgrade.download = std::make_shared<DfuImage>(*image);
  return DfuUpdateResult::Updated;
}

// The device could not be used: a device that is there but refuses to open is
// named as such, never as absent.
DfuUpdateResult stopBefore(FlowHost& host, const DfuService& dfu, const char* text, DfuUpdateResult result) {
  const std::optional<AccessProblem>& refused = dfu.accessProblem();
  host.prompter().ask(errorBox(refused ? DfuAccessText(*refused) : std::string(text)));
  host.restartMonitor(kMonitorRestartMs);
  return refused ? DfuUpdateResult::DeviceNotOpenable : result;
}

bool waitForDevice(DfuService& dfu, Clock::time_point since, std::chrono::milliseconds limit,
                   std::chrono::milliseconds pause, FlowHost* host, const std::stop_token& stop) {
  for (;;) {
    if (host != nullptr) setStatus(*host, kDfuEnteringText);
    if (dfu.EnumerateDfuDevices()) return true;
    if (Clock::now() - since >= limit || !SleepUnlessStopped(stop, pause)) return false;
  }
}

}  // namespace

DfuUpdateResult UpdateFirmwareDfu(DeviceSession& session, FlowHost& host, FileChooser& files, DfuService& dfu,
                                  const DfuUpdateTiming& timing) {
  DfuUpdateResult refused = DfuUpdateResult::Cancelled;
  const std::optional<std::string> path = ChooseDfuFile(host, files, session.hardwareCode, refused);
  if (!path) return refused;
  bool entering = true;

  static constexpr uint8_t kEnterBootLoader[] = {0xD6, 0xD7};
  session.links.stm32.ExchangeFrame(kEnterBootLoader, 0);
  const auto sent = Clock::now();

  dfu.clearDevicePath();
  const std::stop_token& stop = session.links.stm32.stopToken();
  if (!waitForDevice(dfu, sent, timing.enterLimit, timing.searchPause, &host, stop)) {
    return stopBefore(host, dfu, kDfuNotFoundText, DfuUpdateResult::DeviceNotFound);
  }
  if (dfu.CreateMappingFromDevice() != dfurc::kSuccess) {
    return stopBefore(host, dfu, kDfuMappingErrorText, DfuUpdateResult::MappingError);
  }

  Upgrade upgrade;
  uint32_t code = dfurc::kSuccess;
  if (const DfuUpdateResult r = prepareUpgrade(host, dfu, *path, upgrade, code); r != DfuUpdateResult::Updated) {
    if (r == DfuUpdateResult::LaunchFailed) return fail(session, host, DfuOpCode::Erase, code, r);
    host.restartMonitor(kMonitorRestartMs);
    return r;
  }
  DfuEngine& engine = dfu.engine();
  DfuOperationRecord record;
  record.operation = DfuOpCode::Erase;
  record.image = upgrade.erase;
  record.devicePath = dfu.devicePath();
  DfuOperationHandle handle = 0;
  code = engine.LaunchOperation(record, handle);
  if (code != dfurc::kSuccess) return fail(session, host, DfuOpCode::Erase, code, DfuUpdateResult::LaunchFailed);
  // From here on the flash may be wiped: the next read restores the factory
  // settings. An update that stopped earlier left the ESC's settings alone, and
  // restoring defaults then would throw away every value the user had sent.
  session.DefaultsAfterUpdate = true;
  setStatus(host, "");

  // Timer 2.
  for (;;) {
    if (!SleepUnlessStopped(stop, timing.pollPeriod)) {
      // The engine finishes the block in flight (or fails it), then ends.
      const DfuOpCode phase = record.operation;
      engine.StopOperation(handle, record);
      return fail(session, host, phase, dfurc::kUnexpected, DfuUpdateResult::OperationFailed);
    }
    if (entering) setStatus(host, kDfuEnterModeText);
    setButtonsEnabled(host, false);
    engine.GetOperationStatus(handle, record);
    if (record.operation == DfuOpCode::Erase) entering = false;
    const int percent = record.percent;
    const std::string text = DfuPhaseText(record.operation, percent, kTarget);
    host.controls().update([&](DialogState& s) {
      s.setText(ctl::StatusLine, text);
      s.setValue(ctl::Progress, percent);
    });
    if (record.finished && record.errorCode != dfurc::kSuccess) {
      const DfuOpCode phase = record.operation;
      engine.StopOperation(handle, record);
      return fail(session, host, phase, record.errorCode, DfuUpdateResult::OperationFailed);
    }
    if (percent != 100) continue;
    engine.StopOperation(handle, record);
    handle = 0;
    if (record.operation == DfuOpCode::Erase) {
      upgrade.erase.reset();
      record.operation = DfuOpCode::Upgrade;
      record.image = upgrade.download;
      code = engine.LaunchOperation(record, handle);
      if (code != dfurc::kSuccess) {
        return fail(session, host, DfuOpCode::Upgrade, code, DfuUpdateResult::LaunchFailed);
      }
      continue;
    }
    setStatus(host, kFirmwareUpdatedText);
    dfu.LeaveDfuMode();
    closeStm32(session, host);
    setButtonsEnabled(host, true);
    host.controls().update([](DialogState& s) { s.setChecked(ctl::RepairMode, false); });
    host.restartMonitor(kMonitorRestartMs);
    return DfuUpdateResult::Updated;
  }
}

DfuUpdateResult RunDfuFirmwareUpdate(DeviceSession& session, FlowHost& host, FileChooser& files, DfuService& dfu,
                                     const DfuUpdateTiming& timing) {
  waitForDevice(dfu, Clock::now(), timing.listWait, std::chrono::milliseconds(20), nullptr,
                session.links.stm32.stopToken());
  // An ESC already waiting in DFU mode that cannot be opened: say so before
  // asking for a file that could not be sent anyway.
  if (dfu.accessProblem()) return stopBefore(host, dfu, kDfuNotFoundText, DfuUpdateResult::DeviceNotFound);
  return UpdateFirmwareDfu(session, host, files, dfu, timing);
}

}  // namespace orx
