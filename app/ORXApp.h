// The application object: one device manager per user, one main window.
#pragma once

#include <QApplication>

namespace orx {

class CORXApp : public QApplication {
  Q_OBJECT
 public:
  CORXApp(int& argc, char** argv);

  // Starts the program: when another instance runs, brings it forward and
  // returns 0 without a window; otherwise runs the main window modally and
  // returns 0 when it ends, however it ends.
  int run();
};

}  // namespace orx
