// The file dialogs of the window: a FileDialogRequest shown as a QFileDialog.
// Like the prompter, choose() may be called from any thread; after close() it
// returns nothing (as if cancelled) without showing a dialog.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

#include "UiThreadCall.h"
#include "base/FileChooser.h"

class QFileDialog;
class QWidget;

namespace orx {

class QtFileChooser : public QObject, public FileChooser {
  Q_OBJECT
 public:
  // Runs a prepared dialog; returns the chosen file or nothing. Tests replace it.
  using DialogRunner = std::function<std::optional<QString>(QFileDialog&)>;
  // Asks whether an existing file may be replaced. Tests replace it.
  using ReplaceAsker = std::function<bool(const QString& path)>;

  explicit QtFileChooser(QWidget* parentWindow = nullptr);

  std::optional<std::string> choose(const FileDialogRequest& request) override;
  void close() { call_.close(); }
  void setDialogRunner(DialogRunner runner) { runner_ = std::move(runner); }
  void setReplaceAsker(ReplaceAsker asker) { askReplace_ = std::move(asker); }

 private:
  std::optional<std::string> show(const FileDialogRequest& request);

  QWidget* parentWindow_;
  DialogRunner runner_;
  ReplaceAsker askReplace_;
  UiThreadCall call_;
};

}  // namespace orx
