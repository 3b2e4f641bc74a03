// UPDATE FIRMWARE for an NVQ series ESC: choose and check a .dfu file, send
// the ESC into its DFU boot loader over the serial link, wait for the DFU
// device, read its memory map, then erase and download the image, polling
// the engine every 300 ms with the phase and percent on the status line, and
// send the ESC back to its application.
//
// Threading: one job on the link worker. It polls the engine itself, so the
// monitor does not tick meanwhile; it reports through SharedControls, asks
// through the Prompter and the FileChooser.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "base/FileChooser.h"
#include "firmware/DfuService.h"
#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx {

inline constexpr const char* kDfuFileFilter = "Dfu Files (*.dfu)|*.dfu|All Files (*.*)|*.*||";
inline constexpr const char* kDfuWrongFileText = "Incorrect Device Firmware Version - \nPlease Check File Before Updating.";
inline constexpr const char* kDfuBadFormatText = "This file doesn't have a correct format.";
inline constexpr const char* kDfuEnteringText = "Entering firmware update mode (DFU Mode)...";
inline constexpr const char* kDfuNotFoundText = "ESC not detected, please reconnect. (DFU Device not found)";
inline constexpr const char* kDfuMappingErrorText = "Cannot read ESC, please reconnect. (Decode device mapping error)";
inline constexpr const char* kDfuNoImageText = "Unable to find data for that device/target from the file ...";
inline constexpr const char* kDfuEnterModeText = "Enter mode ...";
inline constexpr const char* kEnteringAppModeText = "Entering app mode...";
inline constexpr const char* kDfuNoAccessText = "ESC found in DFU mode, but it cannot be opened. (DFU Device not accessible)";

struct DfuUpdateTiming {
  std::chrono::milliseconds listWait{200};      // for a device already in DFU mode
  std::chrono::milliseconds enterLimit{10000};  // from the boot loader command on
  std::chrono::milliseconds searchPause{100};   // between two searches
  std::chrono::milliseconds pollPeriod{300};    // the engine poll ("timer 2")
};

enum class DfuUpdateResult {
  Cancelled,        // no file chosen
  WrongFile,        // the name does not fit the ESC
  BadFile,          // not a valid .dfu file
  DeviceNotFound,   // no DFU device within the limit
  DeviceNotOpenable,  // a DFU device is there, but this user may not open it
  MappingError,     // its memory map could not be read
  NoImage,          // the file holds nothing for alternate 0
  LaunchFailed,     // the erase or the download could not start
  OperationFailed,  // the erase or the download ended in error
  Updated,
};

// Status text of the engine poll for an operation code and percent ("" for unknown codes).
std::string DfuPhaseText(DfuOpCode operation, int percent, int target = 0);
// "Target %02i: %s".
std::string DfuTargetText(int target, const std::string& text);
// The box after an erase or download that failed or could not start.
std::string DfuFailureText(DfuOpCode phase, uint32_t code);

// The box for a DFU device that is present but cannot be opened: what, why, and the fix.
std::string DfuAccessText(const AccessProblem& problem);

// The file dialog and the name check; the chosen path, or nothing when the
// update must not go on (the box is already shown).
std::optional<std::string> ChooseDfuFile(FlowHost& host, FileChooser& files, int hardwareCode,
                                         DfuUpdateResult& refused);

// Steps 1-5 of the update, then the poll until the download ends. Sets
// DefaultsAfterUpdate as soon as the erase was launched.
DfuUpdateResult UpdateFirmwareDfu(DeviceSession& session, FlowHost& host, FileChooser& files, DfuService& dfu,
                                  const DfuUpdateTiming& timing = {});

// UPDATE FIRMWARE when the CP210x adapter is not connected: waits up to
// `listWait` for a listed DFU device and runs the update. Once an erase was
// launched on the device, DefaultsAfterUpdate makes the next settings read
// restore the factory settings; an update that stopped before leaves it clear.
DfuUpdateResult RunDfuFirmwareUpdate(DeviceSession& session, FlowHost& host, FileChooser& files, DfuService& dfu,
                                     const DfuUpdateTiming& timing = {});

}  // namespace orx
