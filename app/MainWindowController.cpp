#include "MainWindowController.h"

#include <algorithm>
#include <iterator>

#include "base/MainWindowControls.h"
#include "base/StatusDisplay.h"
#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "protocol/SettingsHandlers.h"

namespace orx {
namespace {

// Lists whose only action on a selection change is ClearStatus.
constexpr int kClearStatusLists[] = {
    ctl::CutoffLevel, ctl::AdvanceTiming, ctl::StartupPower, ctl::DriveFrequency, ctl::ArmingTones,
    ctl::SrBraking,   ctl::Acceleration,  ctl::Overload,     ctl::Adapter,        ctl::DataLogSpeed,
    ctl::NodeId,      ctl::DroneCanMotor, ctl::DroneCanPoles};

bool isClearStatusList(int id) {
  return std::find(std::begin(kClearStatusLists), std::end(kClearStatusLists), id) !=
         std::end(kClearStatusLists);
}

constexpr int kDroneCanEntry = 3;

}  // namespace

MainWindowController::MainWindowController(SharedControls& controls, Prompter& prompter,
                                           MainWindowCommands& commands)
    : controls_(controls), prompter_(prompter), commands_(&commands) {}

EscSettings MainWindowController::kept() const {
  return context_.keptSettings ? context_.keptSettings() : EscSettings{};
}

bool MainWindowController::nvqAnswering() const {
  return context_.nvqAnswering ? context_.nvqAnswering() : false;
}

void MainWindowController::show(const Message& message) { prompter_.ask(message); }

void MainWindowController::initialise() {
  controls_.update([](DialogState& s) {
    WriteInitialControls(s);
    s.flags = DialogFlags{};
  });
}

void MainWindowController::selectionChanged(int id, int index) {
  // Asked before taking the controls' lock: the providers may take locks of their own.
  const bool motorEdition = id == ctl::MotorEdition;
  const EscSettings keptBlock = motorEdition ? kept() : EscSettings{};
  const bool nvq = motorEdition && nvqAnswering();
  controls_.update([&](DialogState& s) {
    s.select(id, index);
    if (isClearStatusList(id)) {
      ClearStatus(s);
    } else if (id == ctl::CalibrationMode) {
      OnCalibrationModeChange(s);
      ClearStatus(s);
    } else if (id == ctl::MotorEdition) {
      OnMotorEditionChange(s, keptBlock, nvq);
    } else if (id == ctl::CanControl) {
      const bool droneCan = s.selection(ctl::CanControl) == kDroneCanEntry;
      s.setEnabled(ctl::DroneCanMotor, droneCan);
      s.setEnabled(ctl::DroneCanPoles, droneCan);
      ClearStatus(s);
    }
    // CAN BUS BAUD (1074): nothing.
  });
}

void MainWindowController::clicked(int id, bool checked) {
  const ControlInfo* info = findControl(id);
  if (!info) return;
  switch (info->kind) {
    case ControlKind::Radio: {
      const EscSettings keptBlock = id == ctl::NodeFixed ? kept() : EscSettings{};
      controls_.update([&](DialogState& s) {
        // A click always ticks the radio button and unticks its partner.
        s.setChecked(id, true);
        s.setChecked(radioPartner(id), false);
        switch (id) {
          case ctl::CutoffOn: s.setEnabled(ctl::CutoffLevel, true); break;
          case ctl::CutoffOff: s.setEnabled(ctl::CutoffLevel, false); break;
          case ctl::SyncRectEnabled:
            s.setEnabled(ctl::SrBraking, true);
            ClearStatus(s);
            break;
          case ctl::SyncRectDisabled:
            s.setEnabled(ctl::SrBraking, false);
            ClearStatus(s);
            break;
          case ctl::DirectionForward:
          case ctl::DirectionReverse:
          case ctl::PropHoldEnabled:
          case ctl::PropHoldDisabled: ClearStatus(s); break;
          case ctl::NodeInitial:
            s.setEnabled(ctl::NodeId, false);
            s.select(ctl::NodeId, -1);
            break;
          case ctl::NodeFixed: OnFixedClick(s, keptBlock); break;
          default: break;  // stall protection: the partner is already unticked
        }
      });
      return;
    }
    case ControlKind::CheckBox:
      controls_.update([&](DialogState& s) { s.setChecked(id, checked); });
      if (id == ctl::RepairMode) commands_->repairModeClicked();
      return;
    case ControlKind::PushButton:
      if (id == ctl::SendSettings) commands_->sendSettings();
      if (id == ctl::DefaultSettings) commands_->defaultSettings();
      if (id == ctl::UpdateFirmware) commands_->updateFirmware();
      return;
    case ControlKind::InfoButton:
      show(id == ctl::InfoStarting ? StartingResponseInfo() : RunningResponseInfo());
      return;
    case ControlKind::Static:
    case ControlKind::Indicator:
    case ControlKind::DropList:
    case ControlKind::Edit:
    case ControlKind::ReadOnlyEdit:
    case ControlKind::Progress: return;
  }
}

void MainWindowController::textEdited(int id, const std::string& text) {
  controls_.update([&](DialogState& s) {
    s.setText(id, text);
    if (id == ctl::RangeMin) s.flags.MinRangeEdited = true;
    if (id == ctl::RangeMax) s.flags.MaxRangeEdited = true;
  });
}

int MainWindowController::focusLost(int id) {
  HandlerOutcome outcome;
  switch (id) {
    case ctl::RangeMin:
      outcome = controls_.update([](DialogState& s) { return OnRangeMinFocusLost(s); });
      break;
    case ctl::RangeMax:
      outcome = controls_.update([](DialogState& s) { return OnRangeMaxFocusLost(s); });
      break;
    case ctl::ResponseStarting:
    case ctl::ResponseRunning:
      outcome = controls_.update([id](DialogState& s) { return OnThrottleResponseFocusLost(s, id); });
      break;
    default: return 0;
  }
  if (outcome.message) show(*outcome.message);
  return outcome.moveFocusTo;
}

AfterCommand MainWindowController::command(int commandId) {
  switch (commandId) {
    case cmd::Exit: return AfterCommand::EndDialog;
    case cmd::SaveAdvancedSettings: commands_->saveAdvancedSettings(); break;
    case cmd::LoadAdvancedSettings: commands_->loadAdvancedSettings(); break;
    case cmd::DataLog: commands_->openDataLog(); break;
    case cmd::ReadSettings: commands_->readSettings(); break;
    case cmd::SendSettings: commands_->sendSettings(); break;
    case cmd::DefaultSettings: commands_->defaultSettings(); break;
    case cmd::UseTime: commands_->useTime(); break;
    case cmd::Protections: commands_->protections(); break;
    case cmd::Help: commands_->help(); break;
    case cmd::Version: commands_->version(); break;
    default: break;
  }
  return AfterCommand::Stay;
}

}  // namespace orx
