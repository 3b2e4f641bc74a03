// A download that does not end with a log changes nothing shown, and READ
// ESC LOG or closing the window cancels one that runs.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "datalog/LogDownload.h"
#include "GraphRig.h"

namespace orx::test {
namespace {

using namespace orx::graph;

TEST(GraphDownload, AFailedDownloadKeepsTheLogAndTheProgressShownBefore) {
  GraphRig rig;
  rig.download();
  const int count = rig.window.sampleCount();
  ASSERT_GT(count, 0);
  const QString progress = rig.window.staticText(gid::kProgressText)->text();
  for (const auto& bytes : {generatedRecords(30000, 3), std::vector<std::uint8_t>{}}) {
    rig.source.log = bytes;
    rig.source.end = datalog::DownloadEnd::WriteFailed;
    rig.download();
    EXPECT_EQ(rig.window.sampleCount(), count) << bytes.size();
    EXPECT_EQ(rig.window.staticText(gid::kProgressText)->text(), progress) << bytes.size();
  }
  EXPECT_TRUE(rig.prompter.shown.empty());  // no "EEPROM is empty" after a failure
}

TEST(GraphDownload, ReadButtonCancelsAndTheCancelChangesNothingShown) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords(2200, 1));
  const int count = rig.window.sampleCount();
  auto* button = rig.window.findChild<QPushButton*>(QString::number(gid::kReadButton));
  rig.source.waitForStop = true;
  rig.window.command(gid::kReadButton);
  EXPECT_EQ(button->text(), "CANCEL");
  EXPECT_FALSE(rig.window.action(gcmd::kReadLog)->isEnabled());
  ASSERT_TRUE(pumpUntil([&] { return rig.window.staticText(gid::kProgressText)->text() != "0%"; }, 3000));
  button->click();
  rig.source.worker.join();
  ASSERT_TRUE(pumpUntil([&] { return !rig.window.downloading(); }, 3000));
  EXPECT_EQ(rig.window.sampleCount(), count);
  EXPECT_EQ(rig.window.staticText(gid::kProgressText)->text(), "0%");
  EXPECT_EQ(button->text(), "READ ESC LOG");
  EXPECT_EQ(rig.source.downloads.load(), 1);
}

TEST(GraphDownload, ClosingTheWindowCancelsItsDownload) {
  GraphRig rig;
  rig.source.waitForStop = true;
  rig.window.command(gid::kReadButton);
  rig.window.close();
  EXPECT_TRUE(rig.window.inbox()->stopRequested());
}

}  // namespace
}  // namespace orx::test
