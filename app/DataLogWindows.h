// Opens the data log window from File > NVQ Series Data Log.
//
// Threading: the window's thread only.
#pragma once

#include <QPointer>

#include "base/FileChooser.h"
#include "base/Messages.h"
#include "graph/DataLogSource.h"
#include "graph/Graph.h"

class QWidget;

namespace orx {

class DataLogWindows {
 public:
  DataLogWindows(QWidget* owner, graph::DataLogSource& source, Prompter& prompter, FileChooser& files)
      : owner_(owner), source_(source), prompter_(prompter), files_(files) {}

  // Opens a new window, modeless, whatever ESC is attached (the window itself
  // refuses to read or clear a log an ESC does not keep), and remembers it
  // as the current one.
  void open();
  graph::Graph* current() const { return current_; }

 private:
  QWidget* owner_;
  graph::DataLogSource& source_;
  Prompter& prompter_;
  FileChooser& files_;
  QPointer<graph::Graph> current_;
};

}  // namespace orx
