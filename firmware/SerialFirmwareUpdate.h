// UPDATE FIRMWARE on the CP210x link: choose and check an .orx file, ask, then
// transfer it to the ESC's boot loader and show the outcome.
//
// Threading: UpdateFirmwareSerial runs as one job on the link worker thread,
// so nothing else talks on the link meanwhile and the window stays live. It
// reports through SharedControls (status line 1003, progress 1106, the three
// buttons), asks through the Prompter and the FileChooser (both block this
// thread until the user answers) and reaches the monitor through the hooks.
#pragma once

#include <string>

#include "base/FileChooser.h"
#include "base/Messages.h"
#include "base/SharedControls.h"
#include "firmware/BootLoaderLink.h"
#include "firmware/SerialTransfer.h"

namespace orx {

// What belongs to the monitor and the settings flows. Called on the worker thread.
class SerialUpdateHooks {
 public:
  virtual ~SerialUpdateHooks() = default;
  // An adapter is open and an ESC answers (either link).
  virtual bool deviceReady() = 0;
  // The next answer of the ESC identifies it without the automatic settings read.
  virtual void setSkipAutoRead() = 0;
  // Closes the CP210x port; its adapter and device states fall back to 0.
  virtual void closeSerialLink() = 0;
  // The factory-default exchange that follows an update; it ends by starting
  // the settings read, after setting "DEFAULT SETTINGS FAILED" when the ESC
  // did not confirm.
  virtual void defaultsAfterUpdate() = 0;
  // The next monitor tick comes `ms` after this job ends.
  virtual void restartMonitor(int ms) = 0;
};

struct SerialUpdateContext {
  SharedControls& controls;
  Prompter& prompter;
  FileChooser& files;
  BootLoaderLink& link;
  SerialUpdateHooks& hooks;
  int hardwareCode = 0;  // from the ESC's identification reply
};

enum class SerialUpdateResult {
  NotReady,     // no adapter or no answering ESC: nothing shown
  Cancelled,    // the user cancelled the file dialog or a question
  WrongFile,    // the file name does not fit the ESC
  FileError,    // the file could not be opened or read
  FileTooLarge, // the file decodes to more than the boot loader's buffer
  FileDamaged,  // its last block runs past the end of the image
  Updated,
  Failed,       // the transfer failed; the message was shown
};

inline constexpr const char* kWrongFirmwareText =
    "Incorrect Device Firmware Version.\r\nPlease Check File Before Updating.";
inline constexpr const char* kRepairOverrideText =
    "Error: Incorrect Firmware version has been detected.\r\nPlease check file before continuing.\r\n"
    "\t\t\t\t\t\t   Uploading incorrect Firmware may cause damage to the ESC and will void the warrenty.";
inline constexpr const char* kReadFileErrorText = "Read Firmware File Error - \nPlease Reconnect and Power Cycle Device.";
inline constexpr const char* kFileTooLargeText =
    "Firmware File Too Large - \nThe file decodes to more than 131072 bytes.\nPlease Check File Before Updating.";
inline constexpr const char* kFileDamagedText =
    "Firmware File Damaged - \nIts last block runs past the end of the file.\nPlease Check File Before Updating.";
inline constexpr const char* kContinueText = "Do you wish to continue?";
inline constexpr const char* kContinueCaption = "Update";
inline constexpr const char* kFirmwareUpdatedText = "FIRMWARE UPDATED";
inline constexpr const char* kFirmwareUpdateFailedText = "FIRMWARE UPDATE FAILED";

SerialUpdateResult UpdateFirmwareSerial(const SerialUpdateContext& context);

// Status line text and progress bar value shown before a block.
std::string TransferStatusText(int percent);
int TransferProgressValue(int percent);

}  // namespace orx
