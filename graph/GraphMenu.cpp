// Menu 153 of the graph window and the dispatch of its commands.
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

#include "graph/Graph.h"
#include "graph/GraphIds.h"
#include "graph/GraphOpen.h"

namespace orx::graph {

void Graph::buildMenu(QMenuBar* bar) {
  auto add = [this](QMenu* menu, const char* text, int id, bool checkable = false) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::number(id));
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, id] { command(id); });
    actions_[id] = a;
    return a;
  };
  QMenu* file = bar->addMenu("&File");
  add(file, "Load Data", gcmd::kLoadData);
  add(file, "Save Data", gcmd::kSaveData);
  add(file, "Export Image", gcmd::kExportImage);
  add(file, "Print", gcmd::kPrint);
  file->addSeparator();
  add(file, "Read ESC Log", gcmd::kReadLog);
  add(file, "Clear ESC Log", gcmd::kClearLog);
  file->addSeparator();
  add(file, "Exit", gcmd::kExit);

  QMenu* edit = bar->addMenu("&Edit");
  add(edit, "Copy to Clipboard", gcmd::kCopy);
  add(edit, "Change Units", gcmd::kChangeUnits);
  add(edit, "RPM Setup", gcmd::kRpmSetup);

  QMenu* view = bar->addMenu("&View");
  add(view, "Display  Options", gcmd::kDisplayOptions);
  QMenu* sessions = view->addMenu("Data Log Session");
  add(sessions, "All Data Log Sessions", gcmd::kAllSessions, true)->setChecked(true);
  add(sessions, "Select Data Log Session", gcmd::kSelectSession, true);
  QMenu* cross = view->addMenu("Mouse CrossHair");
  add(cross, "Enable", gcmd::kCrossHairOn, true)->setChecked(true);
  add(cross, "Disable", gcmd::kCrossHairOff, true);

  QMenu* help = bar->addMenu("&Help");
  add(help, "Help", gcmd::kHelp);
  add(help, "Version", gcmd::kVersion);
}

void Graph::command(int id) {
  switch (id) {
    case gcmd::kLoadData: return loadData();
    case gcmd::kSaveData: return saveData();
    case gcmd::kExportImage: return exportImage();
    case gcmd::kPrint: return print();
    case gcmd::kReadLog: return readLog();
    case gid::kReadButton:
      if (downloading_) return inbox_->requestStop();
      return readLog();
    case gcmd::kClearLog:
    case gid::kClearButton: return clearLog();
    case gcmd::kExit:
      hide();
      done(1);
      return;
    case gcmd::kCopy: return copyToClipboard();
    case gcmd::kChangeUnits: return changeUnits();
    case gcmd::kRpmSetup: return rpmSetup();
    case gcmd::kDisplayOptions: return displayOptions();
    case gcmd::kAllSessions: return allSessions();
    case gcmd::kSelectSession: return selectSession();
    case gcmd::kCrossHairOn: return setCrossHair(true);
    case gcmd::kCrossHairOff: return setCrossHair(false);
    case gcmd::kHelp: return showHelp();
    default: return;  // Version has no handler in this window
  }
}

void Graph::setCrossHair(bool on) {
  actions_.at(gcmd::kCrossHairOn)->setChecked(on);
  actions_.at(gcmd::kCrossHairOff)->setChecked(!on);
  if (CChartCrossHairCursor* cross = chart_->GetCrossHair()) cross->SetShown(on);
  chart_->update();
}

// Any ESC lets the window open (saved logs need none); reading and clearing
// refuse an ESC whose firmware keeps no log.
bool Graph::refusedEsc() {
  std::optional<Message> refusal = graphRefusal(source_->firmwareVersion());
  if (refusal) prompter_.ask(*refusal);
  return refusal.has_value();
}

void Graph::readLog() {
  if (!source_ || downloading_ || refusedEsc()) return;
  inbox_->clearStop();
  if (!source_->requestDownload(inbox_)) return;  // another download runs
  downloading_ = true;
  if (progressTimer_.isActive()) {  // the last download's final report first
    progressTimer_.stop();
    applyProgress();
  }
  downloadClock_.start();
  progressBefore_ = progressBar_->value();
  progressTextBefore_ = progressText_->text();
  readButton_->setText("CANCEL");
  actions_.at(gcmd::kReadLog)->setEnabled(false);
}

void Graph::clearLog() {
  if (source_ && !refusedEsc()) source_->requestClear();
}

}  // namespace orx::graph
