#include "settingsfile/AdvancedSettingsFlows.h"

#include <mutex>
#include <string>
#include <system_error>

#include "base/ControlIds.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "settingsfile/AtomicFile.h"
#include "settingsfile/SettingsFileLayout.h"
#include "settingsfile/SettingsFileParser.h"
#include "settingsfile/SettingsFileWriter.h"

namespace orx {
namespace {

FileDialogRequest dialogRequest(FileDialogRequest::Kind kind) {
  return {kind, cfg::kFileFilter, cfg::kDefaultExtension, "settings"};
}

// Control characters would break the box's lines: shown as '?'.
Message refusedBox(const std::vector<cfg::RefusedValue>& refused) {
  std::string text = kValueRefusedText;
  for (const cfg::RefusedValue& r : refused) {
    std::string value = r.value;
    for (char& ch : value)
      if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) ch = '?';
    text += "\n" + r.what + ":  " + value;
  }
  return {kDefaultCaption, MsgIcon::Warning, MsgButtons::Ok, text};
}

std::string reason(int error) { return utf8ToCp1252(std::error_code(error, std::generic_category()).message()); }

}  // namespace

std::tm LocalTimeNow() {
  // localtime_r is POSIX only, and std::localtime may hand out one shared
  // buffer: copy it out under a lock of our own.
  static std::mutex mutex;
  const std::time_t now = std::time(nullptr);
  std::lock_guard<std::mutex> lock(mutex);
  const std::tm* local = std::localtime(&now);
  return local != nullptr ? *local : std::tm{};
}

std::optional<std::string> AdvancedSettingsText(SharedControls& controls, Prompter& prompter,
                                                const std::function<std::tm()>& localTime) {
  const DialogState snapshot = controls.read([](const DialogState& s) { return s; });

  if (snapshot.text(ctl::FirmwareVersion).size() > cfg::kMaxFirmwareTextLength)
    prompter.ask({kDefaultCaption, MsgIcon::None, MsgButtons::Ok, kFirmwareVersionErrorText});

  if (!cfg::EmptyRequiredFields(snapshot).empty()) {
    prompter.ask(errorBox(kSaveFieldsMissingText));
    return std::nullopt;
  }
  return cfg::FormatSettingsFile(snapshot, localTime());
}

SettingsSaveOutcome SaveAdvancedSettings(SharedControls& controls, Prompter& prompter, FileChooser& chooser,
                                 const std::function<std::tm()>& localTime) {
  const std::optional<std::string> text = AdvancedSettingsText(controls, prompter, localTime);
  if (!text) return SettingsSaveOutcome::FieldsMissing;

  const auto path = chooser.choose(dialogRequest(FileDialogRequest::Kind::Save));
  if (!path) return SettingsSaveOutcome::Cancelled;

  const cfg::FileWriteStatus status = cfg::WriteFileAtomically(*path, *text);
  switch (status.result) {
    case cfg::FileResult::Ok: {
      const std::string name = path->substr(path->find_last_of('/') + 1);
      controls.update([&](DialogState& s) { s.setText(ctl::StatusLine, kSettingsSavedStatus + utf8ToCp1252(name)); });
      return SettingsSaveOutcome::Saved;
    }
    case cfg::FileResult::NotFound:
    case cfg::FileResult::TooLarge:
    case cfg::FileResult::Exists:
    case cfg::FileResult::Failed:
      break;
  }
  prompter.ask(errorBox(strprintf("Cannot Save Advanced Settings - \nThe file could not be written:\n%s\n%s",
                                  utf8ToCp1252(*path).c_str(), reason(status.error).c_str())));
  return SettingsSaveOutcome::WriteFailed;
}

SettingsLoadOutcome LoadAdvancedSettings(SharedControls& controls, Prompter& prompter, FileChooser& chooser,
                                 const cfg::LoadContext& context) {
  if (!context.escDetected) {
    prompter.ask(errorBox(kLoadNoDeviceText));
    return SettingsLoadOutcome::NoDevice;
  }

  const auto path = chooser.choose(dialogRequest(FileDialogRequest::Kind::Open));
  if (!path) return SettingsLoadOutcome::Cancelled;

  const cfg::FileReadStatus file = cfg::ReadWholeFile(*path, cfg::kMaxFileSize);
  std::string problem;
  switch (file.result) {
    case cfg::FileResult::Ok:
      break;
    case cfg::FileResult::TooLarge:
      problem = "The file is too large to be a settings file.";
      break;
    case cfg::FileResult::NotFound:
    case cfg::FileResult::Exists:
    case cfg::FileResult::Failed:
      problem = reason(file.error);
      break;
  }
  if (!problem.empty()) {
    prompter.ask(errorBox(strprintf("Cannot Load Advanced Settings - \nThe file could not be read:\n%s\n%s",
                                    utf8ToCp1252(*path).c_str(), problem.c_str())));
    return SettingsLoadOutcome::ReadFailed;
  }

  const auto values = cfg::ParseSettingsFile(file.bytes);
  const auto refused = controls.update([&](DialogState& s) { return cfg::ApplySettingsFile(s, values, context); });
  if (!refused.empty()) prompter.ask(refusedBox(refused));
  for (int p = 10; p <= 100; p += 10) controls.update([p](DialogState& s) { s.setValue(ctl::Progress, p); });
  controls.update([](DialogState& s) { s.setText(ctl::StatusLine, kSettingsLoadedStatus); });
  return SettingsLoadOutcome::Loaded;
}

}  // namespace orx
