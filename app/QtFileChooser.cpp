#include "QtFileChooser.h"

#include <QFile>
#include <QFileDialog>

#include "FileFilter.h"
#include "base/Cp1252.h"

namespace orx {

QtFileChooser::QtFileChooser(QWidget* parentWindow)
    : parentWindow_(parentWindow),
      runner_([](QFileDialog& dialog) -> std::optional<QString> {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().first();
      }),
      call_(this) {}

std::optional<std::string> QtFileChooser::choose(const FileDialogRequest& request) {
  std::optional<std::string> chosen;
  call_.run([&] { chosen = show(request); });
  return chosen;
}

std::optional<std::string> QtFileChooser::show(const FileDialogRequest& request) {
  const bool save = request.kind == FileDialogRequest::Kind::Save;
  QFileDialog dialog(parentWindow_);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters;
  for (const std::string& f : QtNameFilters(request.filter)) {
    filters << QString::fromStdString(cp1252ToUtf8(f));
  }
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  const QString extension = QString::fromStdString(cp1252ToUtf8(request.defaultExtension));
  if (!extension.isEmpty()) dialog.setDefaultSuffix(extension);

  const std::optional<QString> file = runner_(dialog);
  if (!file || file->isEmpty()) return std::nullopt;
  std::string path = QFile::encodeName(*file).toStdString();
  // The dialog adds the suffix itself, but only when the user typed the name into it.
  if (save) path = WithDefaultExtension(path, request.defaultExtension);
  return path;
}

}  // namespace orx
