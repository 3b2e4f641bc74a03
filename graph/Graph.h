// The "ESC Data Log" window: the chart of a downloaded or loaded log, the
// readout table, the protection indicators, the download progress and the
// commands of menu 153. Lives on the UI thread; the ESC side is reached only
// through DataLogSource, and its results come back through inbox().
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "base/FileChooser.h"
#include "base/Messages.h"
#include "chart/ChartCtrl.h"
#include "datalog/LogDownload.h"
#include "datalog/LogSample.h"
#include "graph/DataLogSource.h"

class QAction;
class QLabel;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace orx::graph {

class ProtectionIndicator;
class GraphBanner;

class Graph : public QDialog {
  Q_OBJECT
 public:
  // `source` may be null (a window that only loads files).
  Graph(DataLogSource* source, Prompter& prompter, FileChooser& files, QWidget* owner = nullptr);
  ~Graph() override;

  // Runs a menu command or button by its id (gcmd::, gid::kReadButton, ...).
  void command(int id);

  // The inbox a download reports to; hand it to DataLogSource.
  std::shared_ptr<LogInbox> inbox() const { return inbox_; }

  // Progress of a download: bar at the whole percent, text with two decimals
  // and, once a few pages are in, the speed and the time left.
  // Repeated reports are folded into one update of the controls.
  void setProgress(double percent);
  // The downloaded bytes: decoded and shown; an empty download keeps the log.
  void receiveLog(std::span<const std::uint8_t> bytes);
  // The end of a download: a complete one is received as above; after a
  // failure or a cancel the window shows what it showed before.
  void downloadEnded(std::span<const std::uint8_t> bytes, datalog::DownloadEnd end);
  bool downloading() const { return downloading_; }

  // Closing the window also cancels its download.
  void done(int result) override;
  // A decoded or loaded log replaces the one shown; all sessions shown.
  void showLog(datalog::LogData log, unsigned tripped);

  // Statistics of the shown samples into the readout table ("n/a" for the
  // columns of hidden axes).
  void refreshReadouts();

  // Every modal dialog of the window runs through this (tests answer them).
  std::function<int(QDialog&)> execDialog = [](QDialog& d) { return d.exec(); };

  CChartCtrl& chart() { return *chart_; }
  int sampleCount() const { return log_ ? static_cast<int>(log_->samples.size()) : -1; }
  const datalog::LogData* log() const { return log_.get(); }
  const datalog::LogData* shown() const { return shown_.get(); }
  int shownSession() const { return shownSession_; }
  const std::string& notes() const { return notes_; }
  int indicatorState(int flag) const;
  QLabel* staticText(int id) const;
  QAction* action(int id) const;
  QWidget* client() const { return client_; }
  // The window's status line: a saved file is confirmed there by name.
  QString statusText() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildControls();
  void buildMenu(QMenuBar* bar);
  void layoutClient();
  void setIndicators(unsigned tripped, bool all);
  void display(std::shared_ptr<const datalog::LogData> view, int session);
  void applyProgress();

  void readLog();
  void clearLog();
  void loadData();
  void saveData();
  void exportImage();
  void confirmSaved(const char* what, const std::string& path);
  bool refusedEsc();
  void print();
  void copyToClipboard();
  void changeUnits();
  void rpmSetup();
  void displayOptions();
  void allSessions();
  void selectSession();
  void setCrossHair(bool on);
  void showHelp();
  void markSessions();
  std::optional<std::string> runNotes(bool readOnly, const std::string& text);

  DataLogSource* source_;
  Prompter& prompter_;
  FileChooser& files_;
  std::shared_ptr<LogInbox> inbox_;

  QWidget* client_ = nullptr;
  GraphBanner* banner_ = nullptr;
  CChartCtrl* chart_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QLabel* progressText_ = nullptr;
  QStatusBar* statusLine_ = nullptr;
  QPushButton* readButton_ = nullptr;
  QPushButton* clearButton_ = nullptr;
  std::map<int, QLabel*> statics_;
  std::vector<QLabel*> tableLabels_;   // row and column labels, placed by layoutClient
  std::vector<QLabel*> indicatorLabels_;
  ProtectionIndicator* indicators_[6] = {};
  std::map<int, QAction*> actions_;

  QTimer progressTimer_;
  double pendingProgress_ = 0;
  double pendingSeconds_ = 0;  // since READ ESC LOG; 0 outside a download
  QElapsedTimer downloadClock_;

  // Every sample (none before a log), and what is shown: the same log when
  // all sessions are, so that a log is not copied to be shown.
  std::shared_ptr<const datalog::LogData> log_;
  std::shared_ptr<const datalog::LogData> shown_;  // all samples or one session
  int shownSession_ = 1;
  bool sessionSelected_ = false;
  std::string notes_;

  // While a download runs READ ESC LOG cancels it; the progress shown before
  // it comes back when it does not end with a log.
  bool downloading_ = false;
  int progressBefore_ = 0;
  QString progressTextBefore_;
};

}  // namespace orx::graph
