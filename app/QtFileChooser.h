// The file dialogs of the window: a FileDialogRequest shown as a QFileDialog.
// A dialog opens in the folder last used for its kind of file (QSettings,
// group "folders"), else in the default folder set for that kind, else in
// the working folder (never the folder a dialog of another kind saw). A saved
// name without extension gets the one of the file type chosen in the dialog.
// Like the prompter, choose() may be called from any thread; after close() it
// returns nothing (as if cancelled) without showing a dialog.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <string>

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
  // Where dialogs for `folder` open until one of them has been used.
  void setDefaultFolder(const std::string& folder, const QString& path) { defaults_[folder] = path; }

 private:
  std::optional<std::string> show(const FileDialogRequest& request);
  QString startFolder(const std::string& folder) const;
  static void rememberFolder(const std::string& folder, const QString& file);

  QWidget* parentWindow_;
  DialogRunner runner_;
  ReplaceAsker askReplace_;
  std::map<std::string, QString> defaults_;
  UiThreadCall call_;
};

}  // namespace orx
