#include "graph/Graph.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "base/Cp1252.h"
#include "datalog/DownloadPace.h"
#include "datalog/LogDecode.h"
#include "datalog/LogDownload.h"
#include "datalog/LogTexts.h"
#include "datalog/LogUnits.h"
#include "graph/GraphAxes.h"
#include "graph/GraphIds.h"
#include "graph/GraphPlot.h"
#include "graph/GraphWidgets.h"
#include "graph/ReadoutLabel.h"

namespace orx::graph {

namespace {
// Folds a burst of progress reports into one update (about 25 per second).
constexpr int kProgressFoldMs = 40;
}  // namespace

Graph::Graph(DataLogSource* source, Prompter& prompter, FileChooser& files, QWidget* owner)
    : QDialog(owner), source_(source), prompter_(prompter), files_(files) {
  setWindowTitle("ESC Data Log");
  setObjectName("154");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QMenuBar(this);
  layout->setMenuBar(bar);
  client_ = new QWidget(this);
  layout->addWidget(client_, 1);
  statusLine_ = new QStatusBar(this);
  statusLine_->setSizeGripEnabled(false);
  layout->addWidget(statusLine_);
  buildMenu(bar);
  buildControls();
  resize(1220, 800 + bar->sizeHint().height() + statusLine_->sizeHint().height());

  progressTimer_.setSingleShot(true);
  progressTimer_.setInterval(kProgressFoldMs);
  connect(&progressTimer_, &QTimer::timeout, this, [this] { applyProgress(); });

  inbox_ = std::make_shared<LogInbox>(
      this, [this](double percent) { setProgress(percent); },
      [this](std::vector<std::uint8_t> bytes, datalog::DownloadEnd end) { downloadEnded(bytes, end); });
}

Graph::~Graph() { inbox_->detach(); }

void Graph::buildControls() {
  banner_ = new GraphBanner(client_);

  chart_ = new CChartCtrl();
  chart_->Create(client_, QRect(10, 60, 1200, 560), gid::kChart);
  setUpChart(*chart_);

  progressBar_ = new QProgressBar(client_);
  progressBar_->setObjectName(QString::number(gid::kProgressBar));
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);
  progressText_ = new QLabel("0%", client_);
  progressText_->setObjectName(QString::number(gid::kProgressText));
  progressText_->setAlignment(Qt::AlignCenter);

  readButton_ = new QPushButton("READ ESC LOG", client_);
  readButton_->setObjectName(QString::number(gid::kReadButton));
  clearButton_ = new QPushButton("CLEAR ESC LOG", client_);
  clearButton_->setObjectName(QString::number(gid::kClearButton));
  connect(readButton_, &QPushButton::clicked, this, [this] { command(gid::kReadButton); });
  connect(clearButton_, &QPushButton::clicked, this, [this] { command(gid::kClearButton); });

  QFont heading("Arial");
  heading.setPointSize(8);
  heading.setBold(true);
  heading.setUnderline(true);
  auto makeStatic = [this](int id) {
    auto* label = new ReadoutLabel(kNotAvailable, client_);
    label->setObjectName(QString::number(id));
    statics_[id] = label;
    return label;
  };
  auto makeHeading = [&](const char* text) {
    auto* label = new QLabel(text, client_);
    label->setFont(heading);
    tableLabels_.push_back(label);
  };
  for (const char* row : {"Cursor:", "Average:", "Maximum:", "Minimum:"}) makeHeading(row);
  for (const ReadoutColumn& c : kReadoutColumns) {
    makeHeading(c.label);
    for (int id : {c.cursor, c.average, c.maximum, c.minimum}) makeStatic(id);
  }
  makeHeading("Flight Number:");
  makeStatic(gid::kFlightNumber);
  makeStatic(gid::kCursorTime);

  for (int i = 0; i < 6; ++i) {
    indicators_[i] = new ProtectionIndicator(client_);
    indicators_[i]->setObjectName(QString::number(kIndicators[i].id));
    indicatorLabels_.push_back(new QLabel(kIndicators[i].label, client_));
  }

  // The chart control fills the "Cursor:" row as the mouse moves.
  const std::pair<ReadoutStatic, int> cursorStatics[] = {
      {ReadoutStatic::MotorSpeed, 1140},    {ReadoutStatic::Temperature, 1136}, {ReadoutStatic::InputThrottle, 1132},
      {ReadoutStatic::OutputThrottle, 1128}, {ReadoutStatic::DrivePower, 1120},  {ReadoutStatic::DriveVoltage, 1144},
      {ReadoutStatic::DriveCurrent, 1148},  {ReadoutStatic::PowerConsumption, 1152},
      {ReadoutStatic::Time, gid::kCursorTime}, {ReadoutStatic::FlightNumber, gid::kFlightNumber},
  };
  for (const auto& [which, id] : cursorStatics) chart_->SetReadoutLabel(which, statics_.at(id));
  chart_->EnableRedraw(true);
}

void Graph::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  layoutClient();
}

void Graph::layoutClient() {
  const int w = client_->width();
  const int h = client_->height();
  banner_->setGeometry(0, 0, w, 50);
  chart_->setGeometry(10, 56, w - 20, std::max(100, h - 186 - 62));
  progressBar_->setGeometry(10, h - 186, w - 20, 20);
  progressText_->setGeometry(10, h - 164, w - 20, 20);

  // The readout table: row labels, then one column per quantity, each as
  // wide as its heading.
  const int top = h - 140;
  const int rowH = 22;
  const int labelW = 70;
  for (int r = 0; r < 4; ++r) tableLabels_[r]->setGeometry(10, top + rowH * (r + 1), labelW, rowH);
  statics_.at(gid::kCursorTime)->setGeometry(10, top, labelW, rowH);
  int x = 10 + labelW;
  auto columnWidth = [&](QLabel* heading) {
    return std::max(76, heading->fontMetrics().horizontalAdvance(heading->text()) + 12);
  };
  int col = 0;
  for (const ReadoutColumn& c : kReadoutColumns) {
    QLabel* heading = tableLabels_[4 + col];
    const int colW = columnWidth(heading);
    heading->setGeometry(x, top, colW, rowH);
    const int ids[] = {c.cursor, c.average, c.maximum, c.minimum};
    for (int r = 0; r < 4; ++r) statics_.at(ids[r])->setGeometry(x, top + rowH * (r + 1), colW, rowH);
    x += colW;
    ++col;
  }
  const int flightW = columnWidth(tableLabels_.back());
  tableLabels_.back()->setGeometry(x, top, flightW, rowH);
  statics_.at(gid::kFlightNumber)->setGeometry(x, top + rowH, flightW, rowH);
  x += flightW + 16;

  // Indicators in one column beside the table, the buttons at the right.
  for (int i = 0; i < 6; ++i) {
    const int cy = top + 2 + i * 21;
    indicatorLabels_[i]->setGeometry(x, cy, 110, 20);
    indicators_[i]->setGeometry(x + 112, cy + 2, 16, 16);
  }
  const int bx = std::max(x + 140, w - 150);
  readButton_->setGeometry(bx, top + 14, 140, 36);
  clearButton_->setGeometry(bx, top + 64, 140, 36);
}

int Graph::indicatorState(int flag) const { return flag >= 0 && flag < 6 ? indicators_[flag]->state() : 0; }

QLabel* Graph::staticText(int id) const {
  if (id == gid::kProgressText) return progressText_;
  auto it = statics_.find(id);
  return it == statics_.end() ? nullptr : it->second;
}

QString Graph::statusText() const { return statusLine_->currentMessage(); }

QAction* Graph::action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void Graph::setIndicators(unsigned tripped, bool all) {
  for (int flag = 0; flag < 6; ++flag) indicators_[flag]->setState(all && (tripped >> flag) & 1u ? 2 : 1);
}

void Graph::setProgress(double percent) {
  pendingProgress_ = percent;
  pendingSeconds_ = downloading_ ? downloadClock_.elapsed() / 1000.0 : 0;
  if (!progressTimer_.isActive()) progressTimer_.start();
}

void Graph::applyProgress() {
  progressBar_->setValue(datalog::progressBarValue(pendingProgress_));
  const std::string text = datalog::progressTextWithPace(pendingProgress_, pendingSeconds_);
  progressText_->setText(QString::fromStdString(cp1252ToUtf8(text)));
}

void Graph::receiveLog(std::span<const std::uint8_t> bytes) {
  std::optional<datalog::LogData> decoded = datalog::decodeLog(bytes);
  if (!decoded) {
    prompter_.ask(datalog::text::emptyLog());
    return;
  }
  const unsigned tripped = decoded->tripped;
  showLog(std::move(*decoded), tripped);
}

void Graph::downloadEnded(std::span<const std::uint8_t> bytes, datalog::DownloadEnd end) {
  downloading_ = false;
  readButton_->setText("READ ESC LOG");
  actions_.at(gcmd::kReadLog)->setEnabled(true);
  if (datalog::isComplete(end)) {
    receiveLog(bytes);
    return;
  }
  // A fragment is no log: the log and the progress shown before stay.
  progressTimer_.stop();
  progressBar_->setValue(progressBefore_);
  progressText_->setText(progressTextBefore_);
}

void Graph::done(int result) {
  if (downloading_) inbox_->requestStop();
  QDialog::done(result);
}

void Graph::showLog(datalog::LogData log, unsigned tripped) {
  setIndicators(tripped, true);
  resetPoles(*chart_);
  log_ = std::make_shared<const datalog::LogData>(std::move(log));
  display(log_, 1);
  sessionSelected_ = false;
  markSessions();
}

void Graph::display(std::shared_ptr<const datalog::LogData> view, int session) {
  shown_ = std::move(view);
  shownSession_ = session;
  plotLog(*chart_, *shown_);
  refreshReadouts();
}

void Graph::refreshReadouts() {
  const datalog::DisplayUnits units = unitsOf(chart_->Readout());
  for (int slot = 0; slot < kAxisSlotCount; ++slot) {
    const CChartAxis* axis = chart_->GetAxis(slot);
    if (!axis) continue;
    const std::optional<datalog::Quantity> q = quantityOfKey(axis->Key);
    const ReadoutColumn* column = nullptr;
    for (const ReadoutColumn& c : kReadoutColumns)
      if (axis->Key == c.key) column = &c;
    if (!q || !column) continue;
    std::optional<datalog::Statistics> stats;
    if (axis->IsShown() && shown_)
      stats = datalog::statisticsOf(*q, shown_->samples, shown_->scales, units);
    auto put = [&](int id, std::optional<double> value) {
      const std::string text = value ? datalog::readoutText(*q, *value, units) : kNotAvailable;
      statics_.at(id)->setText(QString::fromStdString(cp1252ToUtf8(text)));
    };
    put(column->average, stats ? std::optional(stats->average) : std::nullopt);
    put(column->maximum, stats ? std::optional(stats->maximum) : std::nullopt);
    put(column->minimum, stats ? std::optional(stats->minimum) : std::nullopt);
  }
}

}  // namespace orx::graph
