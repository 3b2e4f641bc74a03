// The use-time, protections, change log and help windows offscreen: their
// texts and states, answers arriving from another thread, answers arriving
// after the window is gone, and the links of the help window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <thread>

#include "QtRig.h"
#include "dialogs/ChangeLog.h"
#include "dialogs/GraphProtections.h"
#include "dialogs/HelpMenu.h"
#include "dialogs/HyperlinkStatic.h"
#include "dialogs/ProtectionSquare.h"
#include "dialogs/QtAuxWindows.h"
#include "dialogs/UseTimeMenu.h"
#include "dialogs/Version.h"

namespace orx::test {
namespace {

using S = ProtectionState;

// Answers the windows' requests later, from a thread of its own, as the link worker does.
struct FakeEsc : UseTimeRequests, ProtectionsRequests {
  void queryUseTime(TextListener show) override {
    ++queries;
    pendingText = std::move(show);
  }
  void clearUseTime() override { ++resets; }
  void readProtections(StatesListener show) override {
    ++reads;
    pendingStates = std::move(show);
  }
  void clearProtections(StatesListener show) override {
    ++clears;
    pendingStates = std::move(show);
  }
  void answer(std::string text) {
    std::thread([f = pendingText, text] { f(text); }).join();
  }
  void answer(ProtectionStates states) {
    std::thread([f = pendingStates, states] { f(states); }).join();
  }

  int queries = 0, resets = 0, reads = 0, clears = 0;
  TextListener pendingText;
  StatesListener pendingStates;
};

template <class W>
QAbstractButton* button(W& w, int id) {
  return w.template findChild<QAbstractButton*>(QString::number(id));
}

TEST(UseTimeWindow, ShowsNaThenTheAnswerFromTheWorker) {
  qtApp();
  FakeEsc esc;
  UseTimeMenu w(esc);
  EXPECT_EQ(w.shownText(), "n/a");
  EXPECT_EQ(button(w, UseTimeMenu::kGet)->text(), "Get Use Time");
  EXPECT_EQ(button(w, UseTimeMenu::kReset)->text(), "Reset Use Time");
  button(w, UseTimeMenu::kGet)->click();
  ASSERT_EQ(esc.queries, 1);
  esc.answer("300h : 07m");
  EXPECT_TRUE(pumpUntil([&] { return w.shownText() == "300h : 07m"; }));
  // Nothing read yet is shown as "n/a", not as a blank.
  esc.answer("");
  EXPECT_TRUE(pumpUntil([&] { return w.shownText() == "n/a"; }));
  EXPECT_EQ(w.findChild<QLabel*>("1118")->text(), "n/a");
}

TEST(UseTimeWindow, ResetShowsZeroAtOnceAndKeptTextReplacesNa) {
  qtApp();
  FakeEsc esc;
  UseTimeMenu w(esc, nullptr, "21h : 07m");
  EXPECT_EQ(w.shownText(), "21h : 07m");
  button(w, UseTimeMenu::kReset)->click();
  EXPECT_EQ(w.shownText(), "0h : 00m");
  EXPECT_EQ(esc.resets, 1);
  EXPECT_EQ(esc.queries, 0);
}

TEST(UseTimeWindow, AnswerAfterTheWindowClosedIsDropped) {
  qtApp();
  FakeEsc esc;
  auto* closed = new UseTimeMenu(esc);
  button(*closed, UseTimeMenu::kGet)->click();
  const UseTimeRequests::TextListener late = esc.pendingText;
  UseTimeMenu open(esc);
  button(open, UseTimeMenu::kGet)->click();
  // One answer queued before the close, one after: neither may reach the deleted window.
  std::thread([late] { late("1h : 00m"); }).join();
  delete closed;
  std::thread([late] { late("2h : 00m"); }).join();
  esc.answer("3h : 00m");
  EXPECT_TRUE(pumpUntil([&] { return open.shownText() == "3h : 00m"; }));
}

TEST(ProtectionsWindow, GreyUntilReadThenBlueAndOrange) {
  qtApp();
  FakeEsc esc;
  GraphProtections w(esc);
  w.show();
  EXPECT_EQ(w.windowTitle(), "Protections");
  EXPECT_EQ(button(w, GraphProtections::kRead)->text(), "READ");
  EXPECT_EQ(button(w, GraphProtections::kClear)->text(), "CLEAR");
  const QColor grey = w.palette().color(QPalette::Window);
  const auto squareColour = [&](int id) {
    auto* square = w.findChild<ProtectionSquare*>(QString::number(id));
    return pixelAt(*square, square->rect().center());
  };
  for (int id : GraphProtections::kIndicators) EXPECT_EQ(squareColour(id), grey) << id;
  EXPECT_EQ(squareColour(1124), kProtectionBlue);
  EXPECT_EQ(squareColour(1125), kProtectionOrange);

  button(w, GraphProtections::kRead)->click();
  ASSERT_EQ(esc.reads, 1);
  esc.answer(ProtectionStates{S::Clear, S::Activated, S::Clear, S::NotRead, S::Activated});
  ASSERT_TRUE(pumpUntil([&] { return w.states()[1] == S::Activated; }));
  EXPECT_EQ(squareColour(1121), kProtectionBlue);
  EXPECT_EQ(squareColour(1123), kProtectionOrange);
  EXPECT_EQ(squareColour(1127), kProtectionBlue);
  EXPECT_EQ(squareColour(1126), grey);
  EXPECT_EQ(squareColour(1122), kProtectionOrange);

  button(w, GraphProtections::kClear)->click();
  ASSERT_EQ(esc.clears, 1);
  esc.answer(ProtectionStates{S::Clear, S::Clear, S::Clear, S::Clear, S::Clear});
  ASSERT_TRUE(pumpUntil([&] { return w.states()[4] == S::Clear; }));
  for (int id : GraphProtections::kIndicators) EXPECT_EQ(squareColour(id), kProtectionBlue) << id;
}

TEST(ChangeLog, FiftyThreeBlocksNewestFirstWithCrLfLines) {
  const std::string& log = ChangeLogText();
  EXPECT_EQ(log.size(), 8569u);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
  EXPECT_EQ(log.find("\r\n\r\n\r\n"), std::string::npos);
  for (size_t i = 0; i < log.size(); ++i) {
    if (log[i] == '\n') {
      ASSERT_TRUE(i > 0 && log[i - 1] == '\r') << i;
    }
  }
  const QString text = QString::fromStdString(log);
  const QStringList blocks = text.left(text.size() - 2).split("\r\n\r\n");
  ASSERT_EQ(blocks.size(), 53);
  const QRegularExpression versionLine("^V(\\d+)\\.(\\d+)\\.(\\d+)$");
  std::tuple<int, int, int> previous{99, 0, 0};
  for (const QString& block : blocks) {
    const QStringList lines = block.split("\r\n");
    ASSERT_GE(lines.size(), 2) << block.toStdString();
    const auto m = versionLine.match(lines[0]);
    ASSERT_TRUE(m.hasMatch()) << lines[0].toStdString();
    const std::tuple<int, int, int> v{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
    EXPECT_LT(v, previous) << lines[0].toStdString();
    previous = v;
    for (const QString& change : lines.mid(1)) EXPECT_FALSE(change.trimmed().isEmpty());
  }
  EXPECT_TRUE(blocks.front().startsWith("V1.38.8\r\nAdded Current ADC Gain and Offset\r\n"));
  EXPECT_TRUE(text.contains(
      "V1.37.2\r\nSoftware now prevents read/send/default/update from running at the same time.\r\n"));
  EXPECT_TRUE(text.contains("V1.37.0\r\nUpdating the firmware on a NVQ ESC will now default the settings.\r\n"));
  EXPECT_EQ(blocks.back(),
            "V1.10.0\r\nPrimary Production Release. Startup Power, Drive Frequency, SR, SR Braking Activation, Voltage "
            "Cutoff, Advance Timing, Motor Direction.");
}

TEST(VersionWindow, ReadOnlyWithTheCaretBeforeTheNewestVersion) {
  qtApp();
  Version w;
  EXPECT_EQ(w.windowTitle(), "Change log");
  QPlainTextEdit* text = w.textControl();
  EXPECT_EQ(text->objectName(), "1117");
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_EQ(text->textCursor().position(), 0);
  EXPECT_TRUE(text->toPlainText().startsWith("V1.38.8\nAdded Current ADC Gain and Offset\n"));
  EXPECT_FALSE(text->toPlainText().contains('\r'));
  EXPECT_EQ(w.focusWidget(), text);
}

struct LinkRig {
  LinkRig() {
    window.resize(400, 100);
    link = new CHyperlinkStatic("ORX Device Manager", &window);
    link->setGeometry(10, 10, 300, 30);  // much wider than its text
    link->SetLink("https://www.example.com/orx/device-manager");
    link->setOpener([this](const QString& address) {
      opened.push_back(address);
      return true;
    });
    window.show();
  }
  void press(QPoint p) {
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(p), QPointF(link->mapToGlobal(p)), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(link, &e);
  }
  void move(QPoint p) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(link->mapToGlobal(p)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(link, &e);
  }

  QApplication& app = qtApp();
  QWidget window;
  CHyperlinkStatic* link;
  QStringList opened;
};

TEST(HyperlinkStatic, OnlyTheTextOpensTheLinkOnceItWasPainted) {
  LinkRig t;
  t.press(QPoint(5, 5));
  EXPECT_TRUE(t.opened.isEmpty());  // never painted: no font, never hit
  t.link->grab();
  EXPECT_TRUE(t.link->fontCreated());
  t.press(QPoint(290, 5));  // the empty area right of the text
  EXPECT_TRUE(t.opened.isEmpty());
  t.press(QPoint(5, 5));
  EXPECT_EQ(t.opened, QStringList{"https://www.example.com/orx/device-manager"});
}

TEST(HyperlinkStatic, HandCursorFromTheSecondMoveOverTheText) {
  LinkRig t;
  t.link->grab();
  t.move(QPoint(5, 5));
  EXPECT_TRUE(t.link->mouseTracked());
  EXPECT_FALSE(t.link->testAttribute(Qt::WA_SetCursor));
  t.move(QPoint(6, 5));
  EXPECT_EQ(t.link->cursor().shape(), Qt::PointingHandCursor);
  t.move(QPoint(290, 5));
  EXPECT_EQ(t.link->cursor().shape(), Qt::ArrowCursor);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(t.link, &leave);
  EXPECT_FALSE(t.link->mouseTracked());
}

TEST(HelpWindow, TextsAndThreeLinks) {
  qtApp();
  HelpMenu w;
  EXPECT_EQ(w.windowTitle(), "Help Menu");
  for (int id : {HelpMenu::kEscLink, HelpMenu::kMotorLink, HelpMenu::kManagerLink}) {
    ASSERT_NE(w.link(id), nullptr) << id;
    EXPECT_TRUE(w.link(id)->link().startsWith("https://")) << id;
  }
  EXPECT_EQ(w.link(HelpMenu::kManagerLink)->displayText(), "ORX Device Manager");
  EXPECT_TRUE(w.link(HelpMenu::kEscLink)->displayText().endsWith("Electronic Speed Controller Series"));
  EXPECT_TRUE(w.link(HelpMenu::kMotorLink)->displayText().endsWith("Multi-Rotor Brushless Motor Series"));
  EXPECT_EQ(w.findChild<QLabel*>("1078")->text(), "webpage for full information.");
  EXPECT_EQ(w.findChild<QLabel*>("1080")->text(), "(ESC) to the latest production");
}

TEST(AuxWindowsMenu, ModelessWindowsAreNewEachTimeAndGoneAfterOk) {
  qtApp();
  FakeEsc esc;
  QWidget main;
  QtAuxWindows windows(&main, esc, esc);
  windows.openUseTime();
  QPointer<UseTimeMenu> first = windows.useTimeWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->parentWidget(), &main);
  windows.openUseTime();
  EXPECT_NE(windows.useTimeWindow(), first.data());
  button(*first, 1)->click();
  EXPECT_TRUE(pumpUntil([&] { return first.isNull(); }));

  windows.openHelp();
  QPointer<HelpMenu> help = windows.helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  help->reject();
  EXPECT_TRUE(pumpUntil([&] { return help.isNull(); }));
}

}  // namespace
}  // namespace orx::test
