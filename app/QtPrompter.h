// Message boxes of the window: a Message shown as a QMessageBox.
//
// ask() may be called from any thread. On the window's thread it shows the box
// at once; from another thread it waits until the window's thread has shown it
// and the user has answered. After close() (at shutdown) a box that has not
// been shown yet is never shown and gets the answer that goes no further:
// Cancel, or No for a Yes/No box.
#pragma once

#include <QObject>
#include <functional>

#include "UiThreadCall.h"
#include "base/Messages.h"

class QMessageBox;
class QWidget;

namespace orx {

class QtPrompter : public QObject, public Prompter {
  Q_OBJECT
 public:
  // Runs a prepared box and returns the button pressed. Tests replace it to
  // read the box and answer it without a modal loop.
  using BoxRunner = std::function<int(QMessageBox&)>;

  explicit QtPrompter(QWidget* parentWindow = nullptr);

  MsgAnswer ask(const Message& message) override;
  void close() { call_.close(); }
  void setBoxRunner(BoxRunner runner) { runner_ = std::move(runner); }

  // The answer used when no one can answer.
  static MsgAnswer refusal(MsgButtons buttons);

 private:
  MsgAnswer show(const Message& message);

  QWidget* parentWindow_;
  BoxRunner runner_;
  UiThreadCall call_;
};

}  // namespace orx
