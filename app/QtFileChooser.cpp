#include "QtFileChooser.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "FileFilter.h"
#include "base/Cp1252.h"

namespace orx {

QtFileChooser::QtFileChooser(QWidget* parentWindow)
    : parentWindow_(parentWindow),
      runner_([](QFileDialog& dialog) -> std::optional<QString> {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().first();
      }),
      askReplace_([this](const QString& path) {
        // The question and buttons of the file dialog's own confirmation.
        return QMessageBox::warning(parentWindow_, QFileDialog::tr("Save As"),
                                    QFileDialog::tr("%1 already exists.\nDo you want to replace it?")
                                        .arg(QFileInfo(path).fileName()),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
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

  if (request.existing == FileDialogRequest::Existing::Refused) dialog.setOption(QFileDialog::DontConfirmOverwrite);

  for (;;) {
    const std::optional<QString> file = runner_(dialog);
    if (!file || file->isEmpty()) return std::nullopt;
    const std::string path = QFile::encodeName(*file).toStdString();
    if (!save) return path;
    // The dialog adds the suffix itself only when the user typed the name into
    // it, and asks before replacing only the name it returns: a name completed
    // here is asked about here, and No goes back to the dialog.
    const std::string completed = WithDefaultExtension(path, request.defaultExtension);
    const bool replaces = completed != path && request.existing == FileDialogRequest::Existing::Confirmed &&
                          QFileInfo(QFile::decodeName(QByteArray::fromStdString(completed))).exists();
    if (!replaces || askReplace_(QFile::decodeName(QByteArray::fromStdString(completed)))) return completed;
  }
}

}  // namespace orx
