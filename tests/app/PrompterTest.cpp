// Message boxes and file dialogs asked from the window's thread and from a worker.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <future>

#include "tests/support/QtTestApp.h"
#include "app/QtFileChooser.h"
#include "app/QtPrompter.h"

using namespace orx;
using namespace orx::test;

namespace {

struct SeenBox {
  QString caption, text;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
};

}  // namespace

TEST(QtPrompter, ShowsCaptionIconButtonsAndTextAsGiven) {
  qtApp();
  QtPrompter prompter;
  SeenBox seen{};
  prompter.setBoxRunner([&](QMessageBox& box) {
    seen = {box.windowTitle(), box.text(), box.icon(), box.standardButtons()};
    return int(QMessageBox::No);
  });
  const MsgAnswer answer = prompter.ask({"ORX Device", MsgIcon::Error, MsgButtons::YesNo, "A\r\nB \xB0" "C"});
  EXPECT_EQ(answer, MsgAnswer::No);
  EXPECT_EQ(seen.caption, "ORX Device");
  EXPECT_EQ(seen.text, QString::fromUtf8("A\nB \xC2\xB0" "C"));
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);

  prompter.ask(warningBox("w"));
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST(QtPrompter, BoxClosedWithoutAButtonGoesNoFurther) {
  qtApp();
  QtPrompter prompter;
  prompter.setBoxRunner([](QMessageBox&) { return -1; });
  EXPECT_EQ(prompter.ask({kCaption, MsgIcon::Question, MsgButtons::OkCancel, "?"}), MsgAnswer::Cancel);
  EXPECT_EQ(prompter.ask({kCaption, MsgIcon::Question, MsgButtons::YesNo, "?"}), MsgAnswer::No);
  EXPECT_EQ(prompter.ask({kCaption, MsgIcon::Question, MsgButtons::YesNoCancel, "?"}), MsgAnswer::Cancel);
}

TEST(QtPrompter, WorkerWaitsForTheAnswerGivenOnTheWindowThread) {
  qtApp();
  QtPrompter prompter;
  std::atomic<bool> shownOnWindowThread{false};
  prompter.setBoxRunner([&](QMessageBox&) {
    shownOnWindowThread = QThread::currentThread() == qtApp().thread();
    return int(QMessageBox::Yes);
  });
  auto answer = std::async(std::launch::async, [&] {
    return prompter.ask({kCaption, MsgIcon::Question, MsgButtons::YesNo, "Continue?"});
  });
  // The worker waits: nothing answers until the window's thread runs its events.
  EXPECT_EQ(answer.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  ASSERT_TRUE(pumpUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
  EXPECT_EQ(answer.get(), MsgAnswer::Yes);
  EXPECT_TRUE(shownOnWindowThread);
}

TEST(QtPrompter, CloseReleasesAWaitingWorkerWithoutShowingTheBox) {
  qtApp();
  QtPrompter prompter;
  int shown = 0;
  prompter.setBoxRunner([&](QMessageBox&) {
    ++shown;
    return int(QMessageBox::Yes);
  });
  auto answer = std::async(std::launch::async, [&] {
    return prompter.ask({kCaption, MsgIcon::Question, MsgButtons::YesNo, "Erase?"});
  });
  EXPECT_EQ(answer.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  prompter.close();  // as the window does before it stops the worker
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_EQ(answer.get(), MsgAnswer::No);
  QCoreApplication::processEvents();  // the posted call finds the caller gone
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(prompter.ask({kCaption, MsgIcon::None, MsgButtons::OkCancel, "late"}), MsgAnswer::Cancel);
  EXPECT_EQ(shown, 0);
}

TEST(QtFileChooser, FiltersAndDefaultExtensionOnSave) {
  qtApp();
  QtFileChooser chooser;
  QStringList filters;
  QFileDialog::AcceptMode mode{};
  chooser.setDialogRunner([&](QFileDialog& dialog) -> std::optional<QString> {
    filters = dialog.nameFilters();
    mode = dialog.acceptMode();
    return QString("/tmp/orx test/motor");
  });
  const auto saved = chooser.choose({FileDialogRequest::Kind::Save, "Config Files (*.cfg)|*.cfg||", "cfg"});
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(*saved, "/tmp/orx test/motor.cfg");
  EXPECT_EQ(filters, QStringList{"Config Files (*.cfg)"});
  EXPECT_EQ(mode, QFileDialog::AcceptSave);

  const auto opened = chooser.choose({FileDialogRequest::Kind::Open, "Config Files (*.cfg)|*.cfg||", "cfg"});
  ASSERT_TRUE(opened.has_value());
  EXPECT_EQ(*opened, "/tmp/orx test/motor");  // an open takes the name as it is
  EXPECT_EQ(mode, QFileDialog::AcceptOpen);

  chooser.setDialogRunner([](QFileDialog&) -> std::optional<QString> { return std::nullopt; });
  EXPECT_FALSE(chooser.choose({FileDialogRequest::Kind::Save, "", "cfg"}).has_value());
}

// "y." typed into the dialog comes back as "y.": the dialog asked about no
// file, so completing it to an existing "y.cfg" must ask before replacing it,
// and No goes back to the dialog. A save that refuses existing files asks nothing.
TEST(QtFileChooser, ACompletedNameThatExistsIsNotReplacedUnasked) {
  qtApp();
  QTemporaryDir dir;
  QFile(dir.filePath("y.cfg")).open(QIODevice::WriteOnly);
  QtFileChooser chooser;
  int dialogs = 0;
  bool confirmAsked = true;
  chooser.setDialogRunner([&](QFileDialog& dialog) -> std::optional<QString> {
    confirmAsked = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
    if (++dialogs > 2) return std::nullopt;
    return dir.filePath("y.");
  });
  QStringList asked;
  bool replace = false;
  chooser.setReplaceAsker([&](const QString& path) {
    asked << path;
    return replace;
  });
  const FileDialogRequest cfg{FileDialogRequest::Kind::Save, "Config Files (*.cfg)|*.cfg||", "cfg"};
  EXPECT_FALSE(chooser.choose(cfg).has_value());
  EXPECT_EQ(dialogs, 3);
  EXPECT_EQ(asked, QStringList({dir.filePath("y.cfg"), dir.filePath("y.cfg")}));

  dialogs = 0;
  replace = true;
  EXPECT_EQ(chooser.choose(cfg), std::optional<std::string>(QFile::encodeName(dir.filePath("y.cfg")).toStdString()));
  EXPECT_TRUE(confirmAsked);

  FileDialogRequest csv{FileDialogRequest::Kind::Save, "Comma Separated Values (*.csv)|*.csv||", "cfg"};
  csv.existing = FileDialogRequest::Existing::Refused;
  dialogs = 0;
  asked.clear();
  EXPECT_TRUE(chooser.choose(csv).has_value());
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_FALSE(confirmAsked);
}

TEST(QtFileChooser, OpensWhereTheLastFileOfItsKindWasAcrossARestartAndTakesTheChosenTypesExtension) {
  qtApp();
  QTemporaryDir settings, images, logs;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QString openedIn, type = "PNG (*.png)";
  auto runner = [&](QFileDialog& dialog) -> std::optional<QString> {
    openedIn = dialog.directory().absolutePath();
    dialog.selectNameFilter(type);
    return images.filePath("chart");
  };
  const FileDialogRequest image{FileDialogRequest::Kind::Save, "BMP (*.bmp)|*.bmp|PNG (*.png)|*.png||", "bmp", "image"};
  {
    QtFileChooser first;
    first.setDialogRunner(runner);
    first.setDefaultFolder("image", logs.path());
    EXPECT_EQ(first.choose(image), images.filePath("chart.png").toStdString());
    EXPECT_EQ(openedIn, logs.path());  // the default before any use
  }
  QtFileChooser restarted;
  restarted.setDialogRunner(runner);
  type = "BMP (*.bmp)";
  EXPECT_EQ(restarted.choose(image), images.filePath("chart.bmp").toStdString());
  EXPECT_EQ(openedIn, images.path());
}
