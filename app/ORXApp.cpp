#include "ORXApp.h"

#include "InstanceGuard.h"
#include "ORXDlg.h"
#include "base/SharedControls.h"

namespace orx {

CORXApp::CORXApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("orx-device-manager");
  setApplicationVersion("1.38.8");
}

int CORXApp::run() {
  InstanceGuard guard(InstanceGuard::defaultSocketPath());
  switch (guard.claim()) {
    case InstanceGuard::Claim::OtherActivated: return 0;
    case InstanceGuard::Claim::First:
    case InstanceGuard::Claim::Unguarded: break;  // better a second window than none
  }

  SharedControls controls;
  MainWindowCommands commands;  // does nothing until the link side provides its own
  CORXDlg dialog(controls, commands);
  connect(&guard, &InstanceGuard::activationRequested, &dialog, &CORXDlg::bringToFront);
  // The link side plugs in here: created after the dialog (which writes the
  // start-up state), given dialog.prompter() and dialog.fileChooser(), set with
  // dialog.setCommands() and dialog.setContext(), and started. After exec():
  // dialog.releaseWaitingThreads(), then stop it, before the dialog goes.
  dialog.exec();
  dialog.releaseWaitingThreads();
  return 0;
}

}  // namespace orx
