#include "QtFileChooser.h"

#include <QFile>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

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
  // The extension follows the file type chosen in the dialog.
  auto extensionOf = [&](const QString& nameFilter) {
    const auto index = static_cast<std::size_t>(std::max<qsizetype>(0, filters.indexOf(nameFilter)));
    return FilterExtension(request.filter, index, request.defaultExtension);
  };
  const QString extension = QString::fromStdString(cp1252ToUtf8(request.defaultExtension));
  if (!extension.isEmpty()) dialog.setDefaultSuffix(extension);
  if (!extension.isEmpty())
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& nameFilter) {
      dialog.setDefaultSuffix(QString::fromStdString(cp1252ToUtf8(extensionOf(nameFilter))));
    });
  const QString folder = startFolder(request.folder);
  if (!folder.isEmpty()) dialog.setDirectory(folder);

  if (request.existing == FileDialogRequest::Existing::Refused) dialog.setOption(QFileDialog::DontConfirmOverwrite);

  for (;;) {
    const std::optional<QString> file = runner_(dialog);
    if (!file || file->isEmpty()) return std::nullopt;
    rememberFolder(request.folder, *file);
    const std::string path = QFile::encodeName(*file).toStdString();
    if (!save) return path;
    // The dialog adds the suffix itself only when the user typed the name into
    // it, and asks before replacing only the name it returns: a name completed
    // here is asked about here, and No goes back to the dialog.
    const std::string completed = WithDefaultExtension(path, extensionOf(dialog.selectedNameFilter()));
    const bool replaces = completed != path && request.existing == FileDialogRequest::Existing::Confirmed &&
                          QFileInfo(QFile::decodeName(QByteArray::fromStdString(completed))).exists();
    if (!replaces || askReplace_(QFile::decodeName(QByteArray::fromStdString(completed)))) return completed;
  }
}

QString QtFileChooser::startFolder(const std::string& folder) const {
  if (folder.empty()) return {};
  const QString last = QSettings().value("folders/" + QString::fromStdString(folder)).toString();
  if (!last.isEmpty() && QDir(last).exists()) return last;
  // The working folder, not the folder the last dialog of another kind saw.
  const auto it = defaults_.find(folder);
  return it == defaults_.end() ? QDir::currentPath() : it->second;
}

void QtFileChooser::rememberFolder(const std::string& folder, const QString& file) {
  if (folder.empty()) return;
  QSettings().setValue("folders/" + QString::fromStdString(folder), QFileInfo(file).absolutePath());
}

}  // namespace orx
