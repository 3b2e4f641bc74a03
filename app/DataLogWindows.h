// Opens the data log window from File > NVQ Series Data Log.
//
// Threading: the window's thread only.
#pragma once

#include <QPointer>

#include "base/FileChooser.h"
#include "base/Messages.h"
#include "graph/DataLogSource.h"
#include "graph/Graph.h"
#include "graph/GraphOpen.h"

class QWidget;

namespace orx {

class DataLogWindows {
 public:
  DataLogWindows(QWidget* owner, graph::DataLogSource& source, Prompter& prompter, FileChooser& files)
      : owner_(owner), source_(source), prompter_(prompter), files_(files) {}

  // Refuses ESCs whose firmware has no data log; otherwise opens a new window,
  // modeless, and remembers it as the current one.
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
