// What the main window asks for that talks to the ESC or opens another window.
//
// The window calls these on its own thread, in answer to the user's clicks and
// menu choices; an implementation posts the work to the link worker or opens
// the window and returns at once. Every call defaults to doing nothing, so the
// window runs before the flows behind it exist.
#pragma once

namespace orx {

class MainWindowCommands {
 public:
  virtual ~MainWindowCommands() = default;

  virtual void readSettings() {}           // Options > Read Settings
  virtual void sendSettings() {}           // button 1041, Options > Send Settings
  virtual void defaultSettings() {}        // button 1034, Options > Default Settings
  virtual void repairModeClicked() {}      // check box 1067 (its new state is in the controls)
  virtual void updateFirmware() {}         // button 1002
  virtual void saveAdvancedSettings() {}   // File > Save Advanced Settings
  virtual void loadAdvancedSettings() {}   // File > Load Advanced Settings
  virtual void openDataLog() {}            // File > NVQ Series Data Log
  virtual void useTime() {}                // Options > ESC Use Time
  virtual void protections() {}            // Options > Protections
  virtual void help() {}                   // Help > Help
  virtual void version() {}                // Help > Version
};

}  // namespace orx
