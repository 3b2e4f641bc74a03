// Draws the main window into a PNG, for the README: window-shot <file.png> [adapter device]
#include <QApplication>
#include <QPixmap>

#include "app/ORXDlg.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  orx::SharedControls controls;
  orx::MainWindowCommands commands;
  orx::CORXDlg dialog(controls, commands);
  if (argc >= 4) dialog.setStatusDisplay(QByteArray(argv[2]) == "1", QByteArray(argv[3]) == "1");
  dialog.show();
  app.processEvents();
  dialog.syncFromShared();
  return dialog.grab().save(argv[1]) ? 0 : 1;
}
