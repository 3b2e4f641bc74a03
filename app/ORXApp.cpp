#include "ORXApp.h"

#include "InstanceGuard.h"
#include "ORXDlg.h"
#include "PortAccessNotice.h"
#include "app/DataLogWindows.h"
#include "device/DeviceManager.h"
#include "base/SharedControls.h"
#include "dialogs/QtAuxWindows.h"

namespace orx {

CORXApp::CORXApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("orx-device-manager");
  setOrganizationName("orx-device-manager");  // QSettings: ~/.config/orx-device-manager/
  setApplicationVersion("1.38.8");
  // Lets the desktop match the window to the installed desktop entry and its icon.
  setDesktopFileName("com.example.orx.DeviceManager");
}

int CORXApp::run() {
  InstanceGuard guard(InstanceGuard::defaultSocketPath());
  switch (guard.claim()) {
    case InstanceGuard::Claim::OtherActivated: return 0;
    case InstanceGuard::Claim::First:
    case InstanceGuard::Claim::Unguarded: break;  // better a second window than none
  }

  SharedControls controls;
  MainWindowCommands idle;
  CORXDlg dialog(controls, idle);
  connect(&guard, &InstanceGuard::activationRequested, &dialog, &CORXDlg::bringToFront);

  // The ESC side comes after the dialog, which writes the start-up state, and
  // stops before it: waiting boxes are released first so the worker can end.
  DeviceManager device(controls, dialog.prompter(), dialog.fileChooser());
  device.setIndicatorListener([&dialog](bool adapter, bool esc) { dialog.setStatusDisplay(adapter, esc); });
  PortAccessNotice accessNotice(&dialog);
  device.setAccessListener([&accessNotice](const AccessProblem& problem) { accessNotice.post(problem); });
  QtAuxWindows windows(&dialog, device, device);
  device.setAuxWindows(&windows);
  DataLogWindows dataLog(&dialog, device, dialog.prompter(), dialog.fileChooser());
  device.setDataLogOpener([&dataLog] { dataLog.open(); });
  dialog.setCommands(device);
  dialog.setContext(SettingsContext{[&device] { return device.snapshot().kept; },
                                    [&device] { return device.snapshot().nvqAnswering; }});
  device.start();
  dialog.exec();
  // The window is closed: from here on a new start gets a window of its own,
  // and the job still running ends at its next wait.
  guard.release();
  dialog.releaseWaitingThreads();
  device.stop();
  return 0;
}

}  // namespace orx
