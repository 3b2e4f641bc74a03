#include "firmware/SerialFirmwareUpdate.h"

#include "base/ControlIds.h"
#include "base/Format.h"
#include "firmware/FirmwareImage.h"
#include "firmware/FirmwareVersionCheck.h"

namespace orx {

std::string TransferStatusText(int percent) { return strprintf("TRANSFERRING...%d%%", percent); }

int TransferProgressValue(int percent) {
  // Scaled so the bar looks full near the end; the bar's range stops at 100.
  const int value = static_cast<int>(percent * 1.05);
  return value > 100 ? 100 : value;
}

namespace {

constexpr int kMonitorRestartMs = 500;
constexpr int kSettleAfterUpdateMs = 1000;

void SetTransferButtonsEnabled(SharedControls& controls, bool enabled) {
  controls.update([enabled](DialogState& s) {
    s.setEnabled(ctl::UpdateFirmware, enabled);
    s.setEnabled(ctl::DefaultSettings, enabled);
    s.setEnabled(ctl::SendSettings, enabled);
  });
}

void SetStatus(SharedControls& controls, const std::string& text) {
  controls.update([&text](DialogState& s) { s.setText(ctl::StatusLine, text); });
}

// Name check with the REPAIR MODE override. True when the update may go on.
bool FileAccepted(const SerialUpdateContext& c, const std::string& path) {
  if (FirmwareFileFits(c.hardwareCode, path)) return true;
  c.prompter.ask(errorBox(kWrongFirmwareText));
  const bool repairMode = c.controls.read([](const DialogState& s) { return s.checked(ctl::RepairMode); });
  if (!repairMode) return false;
  const Message override{kCaption, MsgIcon::Warning, MsgButtons::YesNo, kRepairOverrideText};
  return c.prompter.ask(override) == MsgAnswer::Yes;
}

void Succeed(const SerialUpdateContext& c) {
  c.link.busyWait(kSettleAfterUpdateMs);
  c.hooks.setSkipAutoRead();
  c.controls.update([](DialogState& s) { s.setChecked(ctl::RepairMode, false); });
  // Said (and the buttons given back) before the factory defaults, so that
  // their failure, which they put on the status line themselves, is the last
  // word rather than hidden under it. A command pressed meanwhile waits for
  // this job as any other.
  SetStatus(c.controls, kFirmwareUpdatedText);
  SetTransferButtonsEnabled(c.controls, true);
  c.hooks.defaultsAfterUpdate();
  c.hooks.restartMonitor(kMonitorRestartMs);
}

void Fail(const SerialUpdateContext& c, TransferOutcome outcome) {
  c.hooks.setSkipAutoRead();
  // The boot loader may be anywhere; the monitor reopens the port from scratch.
  c.hooks.closeSerialLink();
  c.prompter.ask(errorBox(TransferFailureText(outcome)));
  SetStatus(c.controls, kFirmwareUpdateFailedText);
  SetTransferButtonsEnabled(c.controls, true);
  c.hooks.restartMonitor(kMonitorRestartMs);
}

}  // namespace

SerialUpdateResult UpdateFirmwareSerial(const SerialUpdateContext& c) {
  if (!c.hooks.deviceReady()) return SerialUpdateResult::NotReady;

  const std::string version = c.controls.read([](const DialogState& s) { return s.text(ctl::FirmwareVersion); });
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::Open;
  request.filter = FirmwareFileFilter(version);
  request.folder = "firmware";
  const std::optional<std::string> path = c.files.choose(request);
  if (!path) return SerialUpdateResult::Cancelled;

  if (!FileAccepted(c, *path)) return SerialUpdateResult::WrongFile;

  // The whole file is decoded before the question, so an unusable file is
  // refused before anything reaches the ESC.
  FirmwareImage image;
  switch (image.load(*path)) {
    case ImageLoadResult::Ok:
      break;
    case ImageLoadResult::OpenFailed:
      c.prompter.ask(Message{kDefaultCaption, MsgIcon::Error, MsgButtons::Ok, kReadFileErrorText});
      return SerialUpdateResult::FileError;
    case ImageLoadResult::TooLarge:
      c.prompter.ask(errorBox(kFileTooLargeText));
      return SerialUpdateResult::FileTooLarge;
  }
  // Checked whole now: found during the transfer, the blocks before it
  // would already be flashed over the ESC's working firmware.
  if (!image.blocksFit()) {
    c.prompter.ask(errorBox(kFileDamagedText));
    return SerialUpdateResult::FileDamaged;
  }

  const Message confirm{kContinueCaption, MsgIcon::Warning, MsgButtons::OkCancel, kContinueText};
  if (c.prompter.ask(confirm) != MsgAnswer::Ok) return SerialUpdateResult::Cancelled;

  SetStatus(c.controls, " ");
  SetTransferButtonsEnabled(c.controls, false);

  const TransferOutcome outcome = TransferFirmware(c.link, image, [&c](int percent) {
    c.controls.update([percent](DialogState& s) {
      s.setText(ctl::StatusLine, TransferStatusText(percent));
      s.setValue(ctl::Progress, TransferProgressValue(percent));
    });
  });

  switch (outcome) {
    case TransferOutcome::Success:
      Succeed(c);
      return SerialUpdateResult::Updated;
    case TransferOutcome::Timeout:
    case TransferOutcome::ComLoss:
    case TransferOutcome::Fail:
    case TransferOutcome::CrcChecksum:
    case TransferOutcome::RepeatTimeout:
    case TransferOutcome::ValidationCheck:
      Fail(c, outcome);
      return SerialUpdateResult::Failed;
  }
  return SerialUpdateResult::Failed;
}

}  // namespace orx
