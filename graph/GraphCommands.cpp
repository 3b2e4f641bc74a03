// The graph window's file and dialog commands.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>

#include "datalog/CsvLogFile.h"
#include "datalog/CsvLogWriter.h"
#include "datalog/LogSessions.h"
#include "datalog/LogTexts.h"
#include "graph/Graph.h"
#include "graph/GraphAxes.h"
#include "graph/GraphChangeUnits.h"
#include "graph/GraphHelp.h"
#include "graph/GraphIds.h"
#include "graph/GraphNotes.h"
#include "graph/GraphOptions.h"
#include "graph/GraphPlot.h"
#include "graph/GraphSession.h"

namespace orx::graph {

namespace {

// The file type chosen in the dialog reaches us as the file's extension.
ImageEncoder encoderOf(const std::string& path) {
  const QString suffix = QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).suffix().toLower();
  if (suffix == "png") return ImageEncoder::Png;
  if (suffix == "svg") return ImageEncoder::Svg;
  return ImageEncoder::Bmp;
}

}  // namespace

std::optional<std::string> Graph::runNotes(bool readOnly, const std::string& text) {
  GraphNotes notes(readOnly, text, this);
  if (execDialog(notes) != QDialog::Accepted) return std::nullopt;
  return notes.text();
}

void Graph::saveData() {
  if (!log_) {
    prompter_.ask(datalog::text::saveNothingLoaded());
    return;
  }
  const std::string offered = notes_.empty() ? std::string(datalog::kDefaultNotes) : notes_;
  // Closed without OK: the notes stay as they were, not lost.
  if (std::optional<std::string> edited = runNotes(false, offered)) notes_ = std::move(*edited);
  FileDialogRequest request{FileDialogRequest::Kind::Save, "Comma Separated Values (*.csv)|*.csv||", "csv", "csv"};
  request.existing = FileDialogRequest::Existing::Refused;  // the CSV save never replaces
  const std::optional<std::string> path = files_.choose(request);
  if (!path) return;
  if (datalog::saveLogData(*log_, notes_, *path, prompter_) == datalog::CsvSave::Saved) confirmSaved("Log saved", *path);
}

void Graph::loadData() {
  const std::optional<std::string> path =
      files_.choose({FileDialogRequest::Kind::Open, "Config Files (*.csv)|*.csv||", "csv", "csv"});
  if (!path) return;
  datalog::CsvFileResult result = datalog::loadCsvFile(*path);
  switch (result.status) {
    case datalog::CsvFileLoad::TooLarge:
      prompter_.ask(datalog::text::loadTooLarge());
      return;
    case datalog::CsvFileLoad::Malformed:
      prompter_.ask(datalog::text::loadMalformed());
      return;
    case datalog::CsvFileLoad::NoLineFeed:
      prompter_.ask(datalog::text::loadNoLineFeed());
      break;
    case datalog::CsvFileLoad::Loaded:
      break;
  }
  notes_ = result.load.notes;
  runNotes(true, notes_);
  const unsigned tripped = result.load.hasProtections ? result.load.log.tripped : 0;
  showLog(std::move(result.load.log), tripped);
}

void Graph::exportImage() {
  const std::optional<std::string> path = files_.choose(
      {FileDialogRequest::Kind::Save, "Bitmap  (*.bmp)|*.bmp|PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg||",
       "bmp", "image"});
  if (!path) return;
  switch (chart_->SaveImage(*path, ChartRect{}, 32, encoderOf(*path))) {
    case ImageSaveResult::Saved:
      confirmSaved("Image saved", *path);
      return;
    case ImageSaveResult::UnsupportedFormat:
    case ImageSaveResult::EmptyImage:
    case ImageSaveResult::WriteFailed:
      // Not silent: the user would believe the picture was kept.
      prompter_.ask(errorBox("Failed to save the image."));
      return;
  }
}

void Graph::confirmSaved(const char* what, const std::string& path) {
  const QString name = QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
  statusLine_->showMessage(QString("%1: %2").arg(what, name));
}

void Graph::print() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  SetUpPrintDialog(dialog);
  if (execDialog(dialog) != QDialog::Accepted) return;
  switch (chart_->PrintChart("ESC Data log", &dialog)) {
    case PrintResult::Printed:
    case PrintResult::Cancelled:
      return;
    case PrintResult::Failed:
      // Not silent: a printer or file that cannot be opened looks like a print.
      prompter_.ask(errorBox("Failed to print the chart."));
      return;
  }
}

void Graph::copyToClipboard() { QApplication::clipboard()->setPixmap(client_->grab()); }

void Graph::changeUnits() {
  GraphChangeUnits dialog(*chart_, this);
  execDialog(dialog);
  refreshReadouts();
}

void Graph::rpmSetup() {
  GraphChangeRpm dialog(*chart_, this);
  execDialog(dialog);
  if (sampleCount() > 0) refreshReadouts();
}

void Graph::displayOptions() {
  GraphOptions dialog(*chart_, this);
  execDialog(dialog);
  refreshReadouts();
}

void Graph::allSessions() {
  if (log_) display(log_, 1);
  sessionSelected_ = false;
  markSessions();
}

void Graph::selectSession() {
  markSessions();  // the check marks move only when a session is really shown
  if (!log_) return;
  const std::vector<datalog::LogSession> sessions = datalog::sessionsOf(log_->samples);
  GraphSession dialog(datalog::sessionTexts(sessions), shownSession_, this);
  if (execDialog(dialog) != QDialog::Accepted) return;
  const std::optional<int> entry = datalog::entryOfText(dialog.choice());
  if (!entry) return;
  std::optional<datalog::LogData> view = datalog::sessionView(*log_, *entry);
  if (!view) return;
  display(std::make_shared<const datalog::LogData>(std::move(*view)), *entry);
  sessionSelected_ = true;
  markSessions();
}

void Graph::markSessions() {
  actions_.at(gcmd::kAllSessions)->setChecked(!sessionSelected_);
  actions_.at(gcmd::kSelectSession)->setChecked(sessionSelected_);
}

void Graph::showHelp() {
  GraphHelp help(this);
  execDialog(help);
}

}  // namespace orx::graph
