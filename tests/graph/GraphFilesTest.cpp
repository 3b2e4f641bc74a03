// Save Data, Load Data and Export Image through the window, with scripted
// file dialogs and notes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <cmath>

#include "datalog/CsvLogWriter.h"
#include "datalog/LogTexts.h"
#include "graph/GraphNotes.h"
#include "GraphRig.h"

namespace orx::test {
namespace {

using namespace orx::graph;

// Notes dialogs: remember what they showed, answer with `reply` (nothing = close).
struct NotesScript {
  std::vector<std::string> shown;
  std::vector<bool> readOnly;
  std::optional<std::string> reply;
  std::function<int(QDialog&)> hook() {
    return [this](QDialog& d) {
      auto& n = dynamic_cast<GraphNotes&>(d);
      shown.push_back(n.text());
      readOnly.push_back(n.edit()->isReadOnly());
      if (!reply) return int(QDialog::Rejected);
      n.edit()->setPlainText(QString::fromStdString(*reply));
      n.onOk();
      return n.result();
    };
  }
};

TEST(GraphCsv, SavedLogLoadsBackIntoAnotherWindow) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("flight.csv").toStdString();
  NotesScript notes;
  notes.reply = "Windy day\nsecond pack";
  {
    GraphRig rig;
    rig.window.receiveLog(generatedRecords());
    rig.onDialog(notes.hook());
    rig.files.answers.push_back(path);
    rig.window.command(gcmd::kSaveData);
    EXPECT_TRUE(rig.prompter.shown.empty());
    ASSERT_EQ(rig.files.requests.size(), 1u);
    EXPECT_EQ(rig.files.requests[0].filter, "Comma Separated Values (*.csv)|*.csv||");
    EXPECT_EQ(rig.files.requests[0].kind, FileDialogRequest::Kind::Save);
    ASSERT_EQ(notes.shown.size(), 1u);
    EXPECT_EQ(notes.shown[0], datalog::kDefaultNotes);
    EXPECT_FALSE(notes.readOnly[0]);
    EXPECT_EQ(rig.window.notes(), "Windy day\r\nsecond pack");
  }
  GraphRig saved;
  saved.window.receiveLog(generatedRecords());
  const datalog::LogData original = *saved.window.log();

  GraphRig rig;
  NotesScript shown;
  rig.onDialog(shown.hook());
  rig.files.answers.push_back(path);
  rig.window.command(gcmd::kLoadData);
  EXPECT_TRUE(rig.prompter.shown.empty());
  EXPECT_EQ(rig.files.requests[0].filter, "Config Files (*.csv)|*.csv||");
  ASSERT_EQ(shown.shown.size(), 1u);
  EXPECT_TRUE(shown.readOnly[0]);
  // The notes come back as the file reader gives them; both lines survive.
  EXPECT_EQ(rig.window.notes().rfind("Windy day", 0), 0u);
  EXPECT_NE(rig.window.notes().find("second pack"), std::string::npos);
  EXPECT_EQ(shown.shown[0], rig.window.notes());
  ASSERT_EQ(rig.window.sampleCount(), static_cast<int>(original.samples.size()));
  const datalog::LogData& loaded = *rig.window.log();
  for (size_t i = 0; i < original.samples.size(); i += 97) {
    const auto& a = original.samples[i];
    const auto& b = loaded.samples[i];
    EXPECT_NEAR(a.voltage * original.scales.voltage, b.voltage * loaded.scales.voltage, 0.6) << i;
    EXPECT_NEAR(a.temperature, b.temperature, 0.01) << i;
    EXPECT_EQ(a.session, b.session) << i;
    EXPECT_EQ(a.frequency, b.frequency) << i;
  }
  EXPECT_EQ(rig.window.chart().FindSerie("IV")->PointCount(), original.samples.size());
  for (int flag = 0; flag < 6; ++flag)
    EXPECT_EQ(rig.window.indicatorState(flag), (original.tripped >> flag) & 1u ? 2 : 1) << flag;
}

TEST(GraphCsv, SaveRefusesWithoutALogAndOverAnExistingFile) {
  QTemporaryDir dir;
  GraphRig rig;
  rig.window.command(gcmd::kSaveData);
  ASSERT_EQ(rig.prompter.shown.size(), 1u);
  EXPECT_EQ(rig.prompter.shown[0], datalog::text::saveNothingLoaded());
  EXPECT_TRUE(rig.files.requests.empty());

  const QString existing = dir.filePath("old.csv");
  QFile old(existing);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("keep me");
  old.close();
  rig.window.receiveLog(generatedRecords(2200, 1));
  NotesScript notes;  // closed without OK: empty notes
  rig.onDialog(notes.hook());
  rig.files.answers.push_back(existing.toStdString());
  rig.window.command(gcmd::kSaveData);
  ASSERT_EQ(rig.prompter.shown.size(), 2u);
  EXPECT_EQ(rig.prompter.shown[1], datalog::text::saveCannotCreate());
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "keep me");
  EXPECT_EQ(rig.window.notes(), "");
}

TEST(GraphCsv, NotesClosedWithoutOkStayAsTheyWere) {
  QTemporaryDir dir;
  GraphRig rig;
  rig.window.receiveLog(generatedRecords(2200, 1));
  NotesScript notes;
  rig.onDialog(notes.hook());
  for (std::optional<std::string> reply : {std::optional<std::string>("Windy day"), std::optional<std::string>()}) {
    notes.reply = reply;
    rig.files.answers.push_back(dir.filePath(QString::number(notes.shown.size()) + ".csv").toStdString());
    rig.window.command(gcmd::kSaveData);
  }
  EXPECT_EQ(rig.window.notes(), "Windy day");
}

TEST(GraphCsv, BadFilesKeepTheLogShown) {
  QTemporaryDir dir;
  GraphRig rig;
  rig.window.receiveLog(generatedRecords(2200, 1));
  const int count = rig.window.sampleCount();
  const QString bad = dir.filePath("bad.csv");
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("# Note - x\nLogSession_ID,Log_Frequency\n1,8,2.5\n");
  f.close();
  rig.onDialog([](QDialog&) { return int(QDialog::Accepted); });
  rig.files.answers.push_back(bad.toStdString());
  rig.files.answers.push_back(dir.filePath("missing.csv").toStdString());
  rig.window.command(gcmd::kLoadData);
  rig.window.command(gcmd::kLoadData);
  ASSERT_EQ(rig.prompter.shown.size(), 2u);
  EXPECT_EQ(rig.prompter.shown[0], datalog::text::loadMalformed());
  EXPECT_EQ(rig.prompter.shown[1], datalog::text::loadTooLarge());
  EXPECT_EQ(rig.window.sampleCount(), count);
  // Cancelling the open dialog leaves the log as it was.
  rig.window.command(gcmd::kLoadData);
  EXPECT_EQ(rig.window.sampleCount(), count);

  // A file without a line feed: the box, then a log of no samples.
  const QString flat = dir.filePath("flat.csv");
  QFile g(flat);
  ASSERT_TRUE(g.open(QIODevice::WriteOnly));
  g.write("no line feed here");
  g.close();
  rig.files.answers.push_back(flat.toStdString());
  rig.window.command(gcmd::kLoadData);
  ASSERT_EQ(rig.prompter.shown.size(), 3u);
  EXPECT_EQ(rig.prompter.shown[2], datalog::text::loadNoLineFeed());
  EXPECT_EQ(rig.window.sampleCount(), 0);
  EXPECT_EQ(rig.window.chart().FindSerie("IV")->PointCount(), 0u);
  EXPECT_EQ(rig.window.staticText(1146)->text(), "n/a");
}

TEST(GraphImage, CopyPutsTheWindowPictureOnTheClipboard) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  QApplication::clipboard()->clear();
  rig.window.command(gcmd::kCopy);
  const QImage copied = QApplication::clipboard()->image();
  ASSERT_FALSE(copied.isNull());
  EXPECT_EQ(copied.size() / copied.devicePixelRatio(), rig.window.client()->size());
}

TEST(GraphImage, ExportWritesA32BitBitmapAndCancelWritesNothing) {
  QTemporaryDir dir;
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  rig.window.command(gcmd::kExportImage);  // cancelled
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
  ASSERT_EQ(rig.files.requests.size(), 1u);
  EXPECT_EQ(rig.files.requests[0].filter, "Bitmap  (*.bmp)|*.bmp|PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg||");
  EXPECT_EQ(rig.files.requests[0].defaultExtension, "bmp");

  const QString path = dir.filePath("chart.bmp");
  rig.files.answers.push_back(path.toStdString());
  rig.window.command(gcmd::kExportImage);
  QFile bmp(path);
  ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
  const QByteArray head = bmp.read(30);
  ASSERT_EQ(head.size(), 30);
  EXPECT_EQ(head.left(2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(head[28]), 32);  // bits per pixel
  EXPECT_TRUE(rig.prompter.shown.empty());

  // A folder that does not exist: the user is told.
  rig.files.answers.push_back(dir.filePath("no/such/dir/chart.bmp").toStdString());
  rig.window.command(gcmd::kExportImage);
  EXPECT_EQ(rig.prompter.shown.size(), 1u);
}

TEST(GraphPrint, PrintsIntoAPdfFileAndSaysSoWhenPrintingCannotStart) {
  QTemporaryDir dir;
  GraphRig rig;
  for (const QString& path : {dir.filePath("chart.pdf"), dir.filePath("no such folder/chart.pdf")}) {
    rig.onDialog([path](QDialog& d) {
      auto& ask = dynamic_cast<QPrintDialog&>(d);
      EXPECT_TRUE(ask.testOption(QAbstractPrintDialog::PrintToFile));
      ask.printer()->setOutputFileName(path);
      return int(QDialog::Accepted);
    });
    rig.window.command(gcmd::kPrint);
  }
  QFile pdf(dir.filePath("chart.pdf"));
  EXPECT_TRUE(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
  ASSERT_EQ(rig.prompter.shown.size(), 1u);  // only the folder that does not exist
  EXPECT_EQ(rig.prompter.shown[0].text, "Failed to print the chart.");
}

}  // namespace
}  // namespace orx::test
