// Builds the widgets of the main window and places them: the controls of the
// table in MainWindowControls (objectName = id), their labels, group boxes,
// the banner and menu 131 (each QAction's objectName and data = command id).
#pragma once

#include <map>

class QAction;
class QDialog;
class QWidget;

namespace orx {

struct MainWindowWidgets {
  std::map<int, QWidget*> controls;
  std::map<int, QAction*> actions;
};

MainWindowWidgets buildMainWindow(QDialog& dialog);

}  // namespace orx
