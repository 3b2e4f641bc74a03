// Session chooser, units and pole count, notes and help, run through the
// window the way the user does.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextEdit>

#include "base/Cp1252.h"
#include "datalog/LogSessions.h"
#include "graph/GraphAxes.h"
#include "graph/GraphChangeUnits.h"
#include "graph/GraphHelp.h"
#include "graph/GraphNotes.h"
#include "graph/GraphSession.h"
#include "GraphRig.h"

namespace orx::test {
namespace {

using namespace orx::graph;

std::string textOf(Graph& w, int id) { return utf8ToCp1252(w.staticText(id)->text().toStdString()); }

// Chooses entry `index` (0-based) in the session chooser.
std::function<int(QDialog&)> chooseSession(int index, int* openedAt = nullptr) {
  return [index, openedAt](QDialog& d) {
    auto& s = dynamic_cast<GraphSession&>(d);
    if (openedAt) *openedAt = s.combo()->currentIndex();
    s.combo()->setCurrentIndex(index);
    s.onOk();
    return s.result();
  };
}

TEST(GraphSessions, ChoosingASessionNarrowsTheChartToIt) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  EXPECT_EQ(rig.window.shown(), rig.window.log());  // all sessions: the log itself, not a copy of it
  const auto sessions = datalog::sessionsOf(rig.window.log()->samples);
  ASSERT_GE(sessions.size(), 3u);
  const auto view = datalog::sessionView(*rig.window.log(), 2);
  ASSERT_TRUE(view);

  rig.onDialog(chooseSession(1));
  rig.window.command(gcmd::kSelectSession);
  EXPECT_EQ(rig.window.shownSession(), 2);
  ASSERT_EQ(rig.window.shown()->samples.size(), view->samples.size());
  EXPECT_LT(view->samples.size(), rig.window.log()->samples.size());
  EXPECT_EQ(rig.window.chart().FindSerie("OT")->PointCount(), view->samples.size());
  EXPECT_DOUBLE_EQ(rig.window.chart().GetAxis(1)->GetMax(), view->duration);
  EXPECT_TRUE(rig.window.action(gcmd::kSelectSession)->isChecked());
  EXPECT_FALSE(rig.window.action(gcmd::kAllSessions)->isChecked());

  rig.window.command(gcmd::kAllSessions);
  EXPECT_EQ(rig.window.shownSession(), 1);
  EXPECT_EQ(rig.window.shown(), rig.window.log());
  EXPECT_EQ(rig.window.chart().FindSerie("OT")->PointCount(), rig.window.log()->samples.size());
  EXPECT_TRUE(rig.window.action(gcmd::kAllSessions)->isChecked());
}

TEST(GraphSessions, ChooserOpensAtTheSessionShownAndIgnoresTypedText) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  rig.onDialog(chooseSession(2));
  rig.window.command(gcmd::kSelectSession);
  ASSERT_EQ(rig.window.shownSession(), 3);
  int openedAt = -1;
  rig.onDialog(chooseSession(0, &openedAt));
  rig.window.command(gcmd::kSelectSession);
  EXPECT_EQ(openedAt, 2);
  EXPECT_EQ(rig.window.shownSession(), 1);

  // Text typed into the edit field is not an entry: nothing changes.
  const size_t shown = rig.window.shown()->samples.size();
  rig.onDialog([](QDialog& d) {
    auto& s = dynamic_cast<GraphSession&>(d);
    s.combo()->setEditText("Session 3: nonsense");
    s.onOk();
    return s.result();
  });
  rig.window.command(gcmd::kSelectSession);
  EXPECT_EQ(rig.window.shown()->samples.size(), shown);
  // Cancel changes nothing either.
  rig.onDialog([](QDialog&) { return int(QDialog::Rejected); });
  rig.window.command(gcmd::kSelectSession);
  EXPECT_EQ(rig.window.shownSession(), 1);
}

// Clicks the given boxes of the units dialog, then OK.
std::function<int(QDialog&)> chooseUnits(std::vector<int> ids, bool* pcEnabled = nullptr) {
  return [ids, pcEnabled](QDialog& d) {
    auto& u = dynamic_cast<GraphChangeUnits&>(d);
    if (pcEnabled) *pcEnabled = u.box(1048)->isEnabled();
    for (int id : ids) u.box(id)->click();
    u.onOk();
    return u.result();
  };
}

TEST(GraphUnits, UnitChangeRetitlesAxesAndReformatsReadouts) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  const double duration = chart.GetAxis(1)->GetMax();
  const double power = axisOfKey(chart, "DP")->GetMax();
  const double ah = axisOfKey(chart, "PC")->GetMax();
  const auto* te = dynamic_cast<CChartLineSerie*>(chart.FindSerie("TE"));
  const double curve = te->GetY(5);

  rig.onDialog(chooseUnits({1101, 1047, 1052, 1049}));
  rig.window.command(gcmd::kChangeUnits);
  const CChartAxis* temp = axisOfKey(chart, "TE");
  EXPECT_EQ(temp->GetTitle()->GetText(), "Temperature (\xB0" "C)");
  EXPECT_DOUBLE_EQ(temp->GetMin(), -17.7);
  EXPECT_DOUBLE_EQ(temp->GetMax(), 98.8);
  EXPECT_DOUBLE_EQ(te->GetY(5), curve);  // the curve itself stays
  EXPECT_EQ(chart.GetAxis(1)->GetTitle()->GetText(), "Time (min)");
  EXPECT_DOUBLE_EQ(chart.GetAxis(1)->GetMax(), duration / 60);
  EXPECT_EQ(axisOfKey(chart, "DP")->GetTitle()->GetText(), "Motor Drive Power (hp)");
  EXPECT_DOUBLE_EQ(axisOfKey(chart, "DP")->GetMax(), power * 0.00134);
  EXPECT_DOUBLE_EQ(axisOfKey(chart, "PC")->GetMax(), ah * 1000);
  EXPECT_NE(textOf(rig.window, 1138).find("\xB0" "C"), std::string::npos);
  EXPECT_NE(textOf(rig.window, 1122).find(" hp"), std::string::npos);
  EXPECT_NE(textOf(rig.window, 1154).find(" mAh"), std::string::npos);
  EXPECT_TRUE(chart.FindSerie("PC")->IsShown());

  rig.onDialog(chooseUnits({1050}));
  rig.window.command(gcmd::kChangeUnits);
  EXPECT_FALSE(chart.FindSerie("PC")->IsShown());
  EXPECT_TRUE(chart.FindSerie("WA")->IsShown());
  EXPECT_EQ(axisOfKey(chart, "PC")->GetTitle()->GetText(), "Power Consumption (Wh)");
  EXPECT_NE(textOf(rig.window, 1154).find(" Wh"), std::string::npos);

  // The dialog reads the units back from the titles; Fahrenheit re-applies.
  rig.onDialog([](QDialog& d) {
    auto& u = dynamic_cast<GraphChangeUnits&>(d);
    EXPECT_TRUE(u.box(1101)->isChecked());
    EXPECT_TRUE(u.box(1047)->isChecked());
    EXPECT_TRUE(u.box(1050)->isChecked());
    EXPECT_FALSE(u.box(1048)->isChecked());
    u.box(1045)->click();
    u.box(1045)->click();  // a click on a checked box leaves it checked
    EXPECT_TRUE(u.box(1045)->isChecked());
    EXPECT_FALSE(u.box(1101)->isChecked());
    u.onOk();
    return u.result();
  });
  rig.window.command(gcmd::kChangeUnits);
  EXPECT_EQ(axisOfKey(chart, "TE")->GetTitle()->GetText(), "Temperature (\xB0" "F)");
  EXPECT_DOUBLE_EQ(axisOfKey(chart, "TE")->GetMax(), 210);
  EXPECT_TRUE(chart.Readout().fahrenheit);
}

TEST(GraphUnits, CancelAndAHiddenConsumptionAxisChangeNothing) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  rig.onDialog([](QDialog& d) {
    dynamic_cast<GraphChangeUnits&>(d).box(1101)->click();
    return int(QDialog::Rejected);
  });
  rig.window.command(gcmd::kChangeUnits);
  EXPECT_TRUE(chart.Readout().fahrenheit);
  EXPECT_DOUBLE_EQ(axisOfKey(chart, "TE")->GetMax(), 210);

  axisOfKey(chart, "PC")->SetShown(false);
  bool pcEnabled = true;
  rig.onDialog(chooseUnits({1050}, &pcEnabled));
  rig.window.command(gcmd::kChangeUnits);
  EXPECT_FALSE(pcEnabled);
  EXPECT_EQ(chart.Readout().capacityUnit, 0);
  EXPECT_EQ(textOf(rig.window, 1154), "n/a");
}

TEST(GraphRpm, ArrowsCountPolePairsFromTwoAndOkRetitlesTheSpeedAxis) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  {
    GraphChangeRpm up(chart);
    EXPECT_EQ(up.edit()->text(), "4");
    up.onUpDown(1);
    EXPECT_EQ(up.edit()->text(), "6");
    up.onUpDown(1);
    EXPECT_EQ(up.edit()->text(), "8");
  }
  {
    GraphChangeRpm down(chart);
    down.onUpDown(-1);
    EXPECT_EQ(down.edit()->text(), "2");
    down.onUpDown(-1);
    down.onUpDown(-1);
    EXPECT_EQ(down.edit()->text(), "2");  // never below two
    down.reject();
  }
  EXPECT_EQ(chart.Readout().requestedPoles, 4);  // arrows then Cancel change nothing
  const std::string before = textOf(rig.window, 1142);
  rig.onDialog([](QDialog& d) {
    auto& r = dynamic_cast<GraphChangeRpm&>(d);
    r.edit()->setText("14");
    r.onOk();
    return r.result();
  });
  rig.window.command(gcmd::kRpmSetup);
  EXPECT_EQ(axisOfKey(chart, "RP")->GetTitle()->GetText(), "RPM (14)num poles");
  EXPECT_EQ(chart.Readout().requestedPoles, 14);
  EXPECT_NE(textOf(rig.window, 1142), before);  // the speed statistics follow

  // A count of 0 would divide by zero in the read-out.
  rig.onDialog([](QDialog& d) {
    auto& r = dynamic_cast<GraphChangeRpm&>(d);
    r.edit()->setText("0");
    r.onOk();
    return r.result();
  });
  rig.window.command(gcmd::kRpmSetup);
  EXPECT_EQ(chart.Readout().requestedPoles, 2);
  EXPECT_EQ(axisOfKey(chart, "RP")->GetTitle()->GetText(), "RPM (2)num poles");

  // A new log is for a 4-pole motor again, and its title says so.
  rig.window.receiveLog(generatedRecords());
  EXPECT_EQ(chart.Readout().requestedPoles, 4);
  EXPECT_EQ(axisOfKey(chart, "RP")->GetTitle()->GetText(), kSpeedTitle);
}

TEST(GraphNotesDialog, EditsKeepCrLfAndReadOnlyReturnsTheTextUnchanged) {
  qtApp();
  GraphNotes edit(false, "first\r\nsecond");
  EXPECT_EQ(edit.edit()->toPlainText(), "first\nsecond");
  edit.edit()->setPlainText("one\ntwo \xC2\xB0");
  edit.onOk();
  EXPECT_EQ(edit.result(), QDialog::Accepted);
  EXPECT_EQ(edit.text(), "one\r\ntwo \xB0");

  GraphNotes shown(true, "kept\r\nas is");
  EXPECT_TRUE(shown.edit()->isReadOnly());
  shown.onOk();
  EXPECT_EQ(shown.text(), "kept\r\nas is");

  GraphNotes closed(false, "given");
  closed.edit()->setPlainText("changed");
  closed.reject();
  EXPECT_EQ(closed.text(), "given");
}

TEST(GraphHelpDialog, TextAndHeadingSizes) {
  qtApp();
  const std::string text = graphHelpText();
  EXPECT_EQ(text.rfind("Graph Navigation:\r\nZoom: Left click", 0), 0u);
  EXPECT_TRUE(text.ends_with("speed of the graph. \r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
  GraphHelp help;
  const QString doc = help.edit()->toPlainText();
  // Ranges count a line break as one character: they land on the headings.
  EXPECT_EQ(doc.mid(0, 17), "Graph Navigation:");
  EXPECT_EQ(doc.mid(18, 5), "Zoom:");
  EXPECT_EQ(doc.mid(157, 4), "Pan:");
  EXPECT_TRUE(doc.mid(301, 19).contains("Reset Zoom & Pan:"));
  // The wheel and double-click lines come after it; what follows moves along.
  const int added = static_cast<int>(doc.indexOf("Display:")) - 424;
  EXPECT_TRUE(doc.mid(1370 + added, 13).contains("Motor RPM:"));
  QTextCursor at(help.edit()->document());
  at.setPosition(3);
  EXPECT_DOUBLE_EQ(at.charFormat().fontPointSize(), 10.5);
  for (int marker : {20, int(doc.indexOf("Wheel Zoom:")) + 2, int(doc.indexOf("Double-Click:")) + 2}) {
    at.setPosition(marker);
    EXPECT_DOUBLE_EQ(at.charFormat().fontPointSize(), 8.75) << marker;
  }
  EXPECT_TRUE(help.edit()->isReadOnly());
  EXPECT_EQ(help.windowTitle(), "Help Menu");
}

}  // namespace
}  // namespace orx::test
