// The window with a log: series, axes, readouts, indicators, the download
// through the inbox, and its menu states.
#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <cstdio>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>

#include "base/Cp1252.h"
#include "datalog/LogDecode.h"
#include "datalog/LogDownload.h"
#include "datalog/LogTexts.h"
#include "datalog/LogUnits.h"
#include "graph/GraphAxes.h"
#include "graph/GraphOpen.h"
#include "GraphRig.h"

namespace orx::test {
namespace {

using namespace orx::graph;

std::string textOf(Graph& w, int id) { return utf8ToCp1252(w.staticText(id)->text().toStdString()); }

TEST(GraphWindow, BeforeAnyLogShowsSixEmptySeriesAndNoReadouts) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  std::vector<std::string> names;
  for (CChartSerie* s : chart.Series()) {
    names.push_back(s->GetName());
    EXPECT_EQ(s->PointCount(), 0u);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"TE", "DC", "OT", "RP", "IV", "IT"}));
  EXPECT_EQ(rig.window.sampleCount(), -1);
  EXPECT_EQ(textOf(rig.window, 1145), "n/a");
  EXPECT_EQ(textOf(rig.window, 1155), "n/a");
  EXPECT_EQ(textOf(rig.window, 1102), "0%");
  // The hidden test axes and the constant axis; the degree sign is one byte.
  for (int slot : {7, 8, 12, 13, 14}) EXPECT_FALSE(chart.GetAxis(slot)->IsShown()) << slot;
  EXPECT_EQ(chart.GetAxis(4)->GetTitle()->GetText(), "Temperature (\xB0" "F)");
  EXPECT_EQ(chart.GetAxis(2)->GetMin(), 800);
  EXPECT_EQ(chart.GetAxis(11)->GetMax(), 2.001);
  for (int flag = 0; flag < 6; ++flag) EXPECT_EQ(rig.window.indicatorState(flag), 1);
}

TEST(GraphWindow, DecodedLogPutsEveryQuantityOnItsAxis) {
  GraphRig rig;
  const auto bytes = generatedRecords();
  const auto expected = datalog::decodeLog(bytes);
  ASSERT_TRUE(expected && expected->samples.size() > 100);
  rig.window.receiveLog(bytes);

  CChartCtrl& chart = rig.window.chart();
  ASSERT_EQ(rig.window.sampleCount(), static_cast<int>(expected->samples.size()));
  ASSERT_EQ(chart.Series().size(), 9u);
  for (const char* key : {"IV", "PC", "TE", "DC", "DP", "OT", "IT", "RP", "WA"}) {
    auto* serie = dynamic_cast<CChartLineSerie*>(chart.FindSerie(key));
    ASSERT_NE(serie, nullptr) << key;
    EXPECT_EQ(serie->PointCount(), expected->samples.size()) << key;
    EXPECT_EQ(serie->GetVerticalAxis(), chart.GetAxis(14)) << key;
  }
  // Ampere-hours shown: the energy curve waits for the Wh unit.
  EXPECT_TRUE(chart.FindSerie("PC")->IsShown());
  EXPECT_FALSE(chart.FindSerie("WA")->IsShown());
  const auto* dc = dynamic_cast<CChartLineSerie*>(chart.FindSerie("DC"));
  EXPECT_DOUBLE_EQ(dc->GetY(10), expected->samples[10].current);
  EXPECT_DOUBLE_EQ(dc->GetX(10), expected->samples[10].time);

  EXPECT_DOUBLE_EQ(chart.GetAxis(1)->GetMax(), expected->duration);
  EXPECT_DOUBLE_EQ(chart.GetAxis(3)->GetMax(), expected->duration);
  EXPECT_DOUBLE_EQ(axisOfKey(chart, "DP")->GetMax(), expected->scales.power);
  EXPECT_DOUBLE_EQ(axisOfKey(chart, "IV")->GetMax(), expected->scales.voltage);
  EXPECT_DOUBLE_EQ(axisOfKey(chart, "RP")->GetMax(), expected->scales.speed);
  EXPECT_EQ(chart.Readout().flightNumbers[0], expected->samples[0].session);

  // Readouts: the statistics of the samples in the display units.
  const datalog::DisplayUnits units;
  const auto volts = datalog::statisticsOf(datalog::Quantity::Voltage, expected->samples, expected->scales, units);
  EXPECT_EQ(textOf(rig.window, 1146), datalog::readoutText(datalog::Quantity::Voltage, volts->maximum, units));
  EXPECT_EQ(textOf(rig.window, 1145), datalog::readoutText(datalog::Quantity::Voltage, volts->average, units));
  EXPECT_NE(textOf(rig.window, 1139).find("\xB0" "F"), std::string::npos);
  EXPECT_NE(textOf(rig.window, 1154).find(" Ah"), std::string::npos);
  for (int flag = 0; flag < 6; ++flag)
    EXPECT_EQ(rig.window.indicatorState(flag), (expected->tripped >> flag) & 1u ? 2 : 1) << flag;
}

TEST(GraphWindow, MouseOverTheDataFillsTheCursorRow) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  chart.RenderedImage();  // lays the axes out
  const CChartAxis* time = chart.GetAxis(1);
  const QPoint middle((time->StartPixel() + time->EndPixel()) / 2, chart.height() / 2);
  QMouseEvent move(QEvent::MouseMove, QPointF(middle), chart.mapToGlobal(QPointF(middle)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&chart, &move);
  EXPECT_NE(textOf(rig.window, 1144).find(" V"), std::string::npos) << textOf(rig.window, 1144);
  EXPECT_NE(textOf(rig.window, 1140).find(" RPM"), std::string::npos);
  EXPECT_NE(textOf(rig.window, gid::kCursorTime), "n/a");
  EXPECT_NE(textOf(rig.window, gid::kFlightNumber), "n/a");
}

TEST(GraphWindow, DownloadFromTheWorkerThreadArrivesOnTheWindow) {
  GraphRig rig;
  rig.download();
  EXPECT_EQ(rig.source.downloads.load(), 1);
  const auto expected = datalog::decodeLog(rig.source.log);
  EXPECT_EQ(rig.window.sampleCount(), static_cast<int>(expected->samples.size()));
  // A finished download stands at 100 %, however little memory the log filled.
  ASSERT_TRUE(pumpUntil([&] { return textOf(rig.window, 1102) != "0%"; }, 3000));
  EXPECT_EQ(textOf(rig.window, 1102), "READ LOG DATA ...100.00%");
  EXPECT_EQ(rig.window.findChild<QProgressBar*>("1069")->value(), 100);
}

TEST(GraphWindow, ProgressShowsTheWholePercentOnTheBarAndTwoDecimals) {
  GraphRig rig;
  rig.window.setProgress(3.5);
  rig.window.setProgress(12.99);
  ASSERT_TRUE(pumpUntil([&] { return textOf(rig.window, 1102) != "0%"; }, 3000));
  EXPECT_EQ(textOf(rig.window, 1102), "READ LOG DATA ...12.99%");
  EXPECT_EQ(rig.window.findChild<QProgressBar*>("1069")->value(), 12);
  rig.window.setProgress(100);
  ASSERT_TRUE(pumpUntil([&] { return textOf(rig.window, 1102) == "READ LOG DATA ...100.00%"; }, 3000));
  EXPECT_EQ(rig.window.findChild<QProgressBar*>("1069")->value(), 100);
}

// The decode and plot run on the window's thread: a full log memory must not
// freeze it. Generous bound for a loaded machine; measured about 30 ms.
TEST(GraphWindow, AFullLogMemoryIsShownWithoutStallingTheWindow) {
  GraphRig rig;
  const auto full = generatedRecords(64768, 6);
  QElapsedTimer timer;
  timer.start();
  rig.window.receiveLog(full);
  rig.window.chart().RenderedImage();
  const qint64 ms = timer.elapsed();
  EXPECT_EQ(rig.window.sampleCount(), static_cast<int>(datalog::decodeLog(full)->samples.size()));
  EXPECT_LT(ms, 1500);
  std::printf("full log decoded, plotted and rendered in %lld ms\n", static_cast<long long>(ms));
}

TEST(GraphWindow, EmptyDownloadKeepsTheLogShown) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords(2200, 1));
  const int count = rig.window.sampleCount();
  ASSERT_GT(count, 0);
  rig.window.receiveLog({});
  EXPECT_EQ(rig.window.sampleCount(), count);
  ASSERT_EQ(rig.prompter.shown.size(), 1u);
  EXPECT_EQ(rig.prompter.shown[0], datalog::text::emptyLog());
}

TEST(GraphWindow, OneRecordGivesALogOfNoSamples) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords(11, 1));
  EXPECT_EQ(rig.window.sampleCount(), 0);
  EXPECT_EQ(rig.window.chart().FindSerie("IV")->PointCount(), 0u);
  EXPECT_EQ(textOf(rig.window, 1146), "n/a");
}

TEST(GraphWindow, ResultsForAClosedWindowAreDropped) {
  qtApp();
  RecordingPrompter prompter;
  FixedChooser files;
  std::shared_ptr<LogInbox> inbox;
  {
    Graph window(nullptr, prompter, files);
    inbox = window.inbox();
    inbox->progress(50);  // queued, then the window goes
  }
  std::thread late([&] { inbox->deliver(generatedRecords(2200, 1), datalog::DownloadEnd::EndMarker); });
  late.join();
  QCoreApplication::processEvents();
  EXPECT_TRUE(prompter.shown.empty());
}

TEST(GraphDownload, AFailedDownloadKeepsTheLogAndTheProgressShownBefore) {
  GraphRig rig;
  rig.download();
  const int count = rig.window.sampleCount();
  const QString progress = "READ LOG DATA ...100.00%";  // where the complete download ended
  rig.source.end = datalog::DownloadEnd::WriteFailed;
  for (const auto& bytes : {generatedRecords(30000, 3), std::vector<std::uint8_t>{}}) {
    rig.source.log = bytes;
    rig.download();
    EXPECT_EQ(rig.window.sampleCount(), count);
    EXPECT_EQ(rig.window.staticText(gid::kProgressText)->text(), progress);
  }
  EXPECT_TRUE(rig.prompter.shown.empty());  // no "EEPROM is empty" after a failure
}

TEST(GraphDownload, ReadButtonOrClosingTheWindowCancelsAndNothingShownChanges) {
  GraphRig rig;
  auto* button = rig.window.findChild<QPushButton*>(QString::number(gid::kReadButton));
  rig.source.waitForStop = true;
  rig.window.command(gid::kReadButton);
  EXPECT_EQ(button->text(), "CANCEL");
  ASSERT_TRUE(pumpUntil([&] { return rig.window.staticText(gid::kProgressText)->text() != "0%"; }, 3000));
  button->click();
  rig.source.worker.join();
  ASSERT_TRUE(pumpUntil([&] { return !rig.window.downloading(); }, 3000));
  EXPECT_EQ(rig.source.downloads.load(), 1);
  EXPECT_EQ(rig.window.sampleCount(), -1);
  EXPECT_EQ(rig.window.staticText(gid::kProgressText)->text(), "0%");
  EXPECT_EQ(button->text(), "READ ESC LOG");
  rig.window.command(gid::kReadButton);
  rig.window.close();
  EXPECT_TRUE(rig.window.inbox()->stopRequested());
}

TEST(GraphWindow, ButtonsAndMenuAskTheEscSide) {
  GraphRig rig;
  rig.window.command(gid::kClearButton);
  rig.window.command(gcmd::kClearLog);
  EXPECT_EQ(rig.source.clears.load(), 2);
  rig.window.command(gcmd::kReadLog);
  if (rig.source.worker.joinable()) rig.source.worker.join();
  EXPECT_EQ(rig.source.downloads.load(), 1);
}

TEST(GraphWindow, CrossHairMenuMovesItsCheckMark) {
  GraphRig rig;
  QAction* on = rig.window.action(gcmd::kCrossHairOn);
  QAction* off = rig.window.action(gcmd::kCrossHairOff);
  EXPECT_TRUE(on->isChecked());
  EXPECT_FALSE(off->isChecked());
  off->trigger();
  EXPECT_FALSE(on->isChecked());
  EXPECT_TRUE(off->isChecked());
  EXPECT_FALSE(rig.window.chart().GetCrossHair()->IsShown());
  // Choosing the checked item again keeps it checked.
  off->trigger();
  EXPECT_TRUE(off->isChecked());
  on->trigger();
  EXPECT_TRUE(rig.window.chart().GetCrossHair()->IsShown());
  EXPECT_FALSE(off->isChecked());
}

TEST(GraphWindow, ExitHidesTheWindowWithResultOne) {
  GraphRig rig;
  rig.window.command(gcmd::kExit);
  EXPECT_FALSE(rig.window.isVisible());
  EXPECT_EQ(rig.window.result(), 1);
}

TEST(GraphOpening, OnlyNvqFirmwareHasADataLog) {
  for (const char* refused : {"A1.05", "B2.0", "C"}) {
    const auto box = graphRefusal(refused);
    ASSERT_TRUE(box) << refused;
    EXPECT_EQ(box->text, "Error: Only the NVQ series ESCs have data logging capabilities.");
    EXPECT_EQ(box->caption, "ORX Device");
    EXPECT_EQ(box->icon, MsgIcon::Error);
  }
  for (const char* accepted : {"NVQ1.2", "D1.0", "a1.0"}) EXPECT_FALSE(graphRefusal(accepted)) << accepted;
}

}  // namespace
}  // namespace orx::test
