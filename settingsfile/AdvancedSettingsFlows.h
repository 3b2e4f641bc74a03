// File > Save Advanced Settings and File > Load Advanced Settings.
//
// Threading: call both from the window's thread. They take the shared
// controls' lock only for short copies and updates, never while a box or a
// file dialog is open, so the link worker can go on meanwhile. Neither talks to
// the ESC; a loaded file is sent by SEND SETTINGS.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "base/FileChooser.h"
#include "base/Messages.h"
#include "base/SharedControls.h"
#include "settingsfile/SettingsApply.h"

namespace orx {

inline constexpr const char* kSaveFieldsMissingText =
    "Cannot Save Advanced Settings - \nPlease Verify the Device is Connected and All Fields are Set.";
inline constexpr const char* kFirmwareVersionErrorText = "Firmware Version Error";
inline constexpr const char* kLoadNoDeviceText = "Cannot Load Advanced Settings - \nPlease Verify the Device is Connected.";
inline constexpr const char* kValueRefusedText = "Settings File Value Refused - ";
inline constexpr const char* kSettingsLoadedStatus = "SETTINGS LOADED - PLEASE SEND";
// Followed by the saved file's name.
inline constexpr const char* kSettingsSavedStatus = "SETTINGS SAVED - ";

enum class SettingsSaveOutcome { Saved, Cancelled, FieldsMissing, WriteFailed };
enum class SettingsLoadOutcome { Loaded, NoDevice, Cancelled, ReadFailed };

// The local time now, for the DATE line.
std::tm LocalTimeNow();

// Save Advanced Settings' checks (boxes for a firmware text too long and for
// empty fields) and the file's text; nothing when a field is missing.
std::optional<std::string> AdvancedSettingsText(SharedControls& controls, Prompter& prompter,
                                                const std::function<std::tm()>& localTime = LocalTimeNow);

// Checks the fields, asks for a file and replaces it atomically; the status
// line then names the file. A failed write shows an error box and leaves any
// old file as it was.
SettingsSaveOutcome SaveAdvancedSettings(SharedControls& controls, Prompter& prompter, FileChooser& chooser,
                                 const std::function<std::tm()>& localTime = LocalTimeNow);

// Asks for a file and loads it into the controls; progress 10..100 and the
// status "SETTINGS LOADED - PLEASE SEND". A value that its control's input rule
// forbids is left out and named in a warning box; the rest still loads. A file that cannot be read (missing,
// unreadable, not a regular file, larger than 1 MiB) shows an error box and
// changes nothing.
SettingsLoadOutcome LoadAdvancedSettings(SharedControls& controls, Prompter& prompter, FileChooser& chooser,
                                 const cfg::LoadContext& context);

}  // namespace orx
