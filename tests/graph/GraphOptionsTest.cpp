// The options dialog: its check-box rules, and what OK does to the axes,
// the series and the readouts.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>

#include "base/Cp1252.h"
#include "dialogs/ColourPicker.h"
#include "graph/AxisSides.h"
#include "graph/GraphAxes.h"
#include "graph/GraphOptions.h"
#include "GraphRig.h"

namespace orx::test {
namespace {

using namespace orx::graph;

std::function<int(QDialog&)> options(std::function<void(GraphOptions&)> clicks) {
  return [clicks](QDialog& d) {
    auto& o = dynamic_cast<GraphOptions&>(d);
    clicks(o);
    o.onOk();
    return o.result();
  };
}

TEST(GraphOptionsRules, OpensWithEachQuantityOnItsAxisSide) {
  GraphRig rig;
  GraphOptions o(rig.window.chart());
  EXPECT_EQ(o.leftCount(), 4);
  EXPECT_EQ(o.rightCount(), 4);
  for (const char* key : {"DP", "TE", "DC", "IV"}) {
    EXPECT_TRUE(o.leftBox(key)->isChecked()) << key;
    EXPECT_FALSE(o.rightBox(key)->isChecked()) << key;
  }
  for (const char* key : {"IT", "OT", "RP", "PC"}) EXPECT_TRUE(o.rightBox(key)->isChecked()) << key;
  EXPECT_EQ(o.picker("TE")->GetColour(), FromQColor(QColor(0, 0, 128)));
}

TEST(GraphOptionsRules, TheLastLeftCurveCannotBeTakenAway) {
  GraphRig rig;
  GraphOptions o(rig.window.chart());
  o.leftBox("DP")->click();
  o.leftBox("TE")->click();
  o.leftBox("DC")->click();
  EXPECT_EQ(o.leftCount(), 1);
  EXPECT_FALSE(o.leftBox("IV")->isEnabled());
  EXPECT_FALSE(o.rightBox("IV")->isEnabled());
  EXPECT_TRUE(o.leftBox("DP")->isEnabled());
  // A second left curve frees the row again, right box included.
  o.leftBox("DP")->click();
  EXPECT_EQ(o.leftCount(), 2);
  EXPECT_TRUE(o.leftBox("IV")->isEnabled());
  EXPECT_TRUE(o.rightBox("IV")->isEnabled());
}

TEST(GraphOptionsRules, ARightClickMovesTheCheckAndSixFillASide) {
  GraphRig rig;
  GraphOptions o(rig.window.chart());
  o.rightBox("TE")->click();
  EXPECT_FALSE(o.leftBox("TE")->isChecked());
  EXPECT_EQ(o.leftCount(), 3);
  EXPECT_EQ(o.rightCount(), 5);
  o.rightBox("DC")->click();
  EXPECT_EQ(o.rightCount(), 6);
  for (const auto& row : kOptionRows) EXPECT_FALSE(o.rightBox(row.key)->isEnabled()) << row.key;
  // A left box takes one away from the full side.
  o.leftBox("OT")->click();
  EXPECT_EQ(o.rightCount(), 5);
  for (const auto& row : kOptionRows) EXPECT_TRUE(o.rightBox(row.key)->isEnabled()) << row.key;
}

TEST(GraphOptionsApply, HidingAnAxisHidesItsCurveAndReadoutsAndCompactsItsSide) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  ASSERT_NE(rig.window.staticText(1122)->text(), "n/a");
  rig.onDialog(options([](GraphOptions& o) { o.leftBox("DP")->click(); }));
  rig.window.command(gcmd::kDisplayOptions);
  EXPECT_FALSE(axisOfKey(chart, "DP")->IsShown());
  EXPECT_FALSE(chart.FindSerie("DP")->IsShown());
  for (int id : {1121, 1122, 1123}) EXPECT_EQ(rig.window.staticText(id)->text(), "n/a") << id;
  EXPECT_NE(rig.window.staticText(1146)->text(), "n/a");
  // The outermost left axis moved into the emptied main slot.
  EXPECT_EQ(chart.GetAxis(0)->Key, "IV");
  EXPECT_FALSE(hasGap(chart, Side::Left));
  EXPECT_EQ(shownOnSide(chart, Side::Left), 3);

  // Shown again, on the right.
  rig.onDialog(options([](GraphOptions& o) { o.rightBox("DP")->click(); }));
  rig.window.command(gcmd::kDisplayOptions);
  const CChartAxis* dp = axisOfKey(chart, "DP");
  EXPECT_TRUE(dp->IsShown());
  EXPECT_TRUE(isSideSlot(Side::Right, dp->Slot()));
  EXPECT_TRUE(chart.FindSerie("DP")->IsShown());
  EXPECT_NE(rig.window.staticText(1122)->text(), "n/a");
}

TEST(GraphOptionsApply, TemperatureMovedRightTakesTheFirstFreeSlotWithEverythingItShows) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  rig.onDialog(options([](GraphOptions& o) { o.rightBox("TE")->click(); }));
  rig.window.command(gcmd::kDisplayOptions);
  const CChartAxis* te = chart.GetAxis(12);
  EXPECT_EQ(te->Key, "TE");
  EXPECT_TRUE(te->IsShown());
  EXPECT_EQ(te->GetTitle()->GetText(), "Temperature (\xB0" "F)");
  EXPECT_EQ(te->GetTitle()->GetColor(), QColor(0, 0, 128));
  EXPECT_DOUBLE_EQ(te->GetMax(), 210);
  // Slot 4 took the hidden test axis, then the left side closed its hole.
  EXPECT_EQ(chart.GetAxis(4)->Key, "IV");
  EXPECT_EQ(chart.GetAxis(5)->Key, "DC");
  EXPECT_FALSE(chart.GetAxis(6)->IsShown());
  EXPECT_EQ(chart.GetAxis(6)->Key, "R5");
  EXPECT_EQ(shownOnSide(chart, Side::Right), 5);
  EXPECT_TRUE(chart.FindSerie("TE")->IsShown());
}

TEST(GraphOptionsApply, ColoursGoToAxisAndCurveAndCancelChangesNothing) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  rig.onDialog([](QDialog& d) {
    auto& o = dynamic_cast<GraphOptions&>(d);
    o.leftBox("DP")->click();
    o.picker("IV")->SetColour(FromQColor(QColor(10, 20, 30)));
    return int(QDialog::Rejected);
  });
  rig.window.command(gcmd::kDisplayOptions);
  EXPECT_TRUE(axisOfKey(chart, "DP")->IsShown());
  EXPECT_EQ(axisOfKey(chart, "IV")->GetTitle()->GetColor(), QColor(127, 0, 255));

  rig.onDialog(options([](GraphOptions& o) { o.picker("PC")->SetColour(FromQColor(QColor(10, 20, 30))); }));
  rig.window.command(gcmd::kDisplayOptions);
  EXPECT_EQ(axisOfKey(chart, "PC")->GetTitle()->GetColor(), QColor(10, 20, 30));
  EXPECT_EQ(chart.FindSerie("PC")->GetColor(), QColor(10, 20, 30));
  EXPECT_EQ(chart.FindSerie("WA")->GetColor(), QColor(10, 20, 30));
  EXPECT_FALSE(chart.FindSerie("WA")->IsShown());  // still Ah
}

TEST(AxisSides, ExchangeSwapsWhatTwoSlotsShow) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  exchangeSlots(chart, 12, 5);
  EXPECT_EQ(chart.GetAxis(12)->Key, "DC");
  EXPECT_EQ(chart.GetAxis(12)->GetTitle()->GetText(), "Motor Drive Current (A)");
  EXPECT_DOUBLE_EQ(chart.GetAxis(12)->GetMax(), 36);
  EXPECT_TRUE(chart.GetAxis(12)->IsShown());
  EXPECT_EQ(chart.GetAxis(5)->Key, "R5");
  EXPECT_FALSE(chart.GetAxis(5)->IsShown());
  EXPECT_EQ(chart.GetAxis(5)->GetTitle()->GetColor(), QColor(102, 0, 204));
  EXPECT_TRUE(hasGap(chart, Side::Left));
  compactSide(chart, Side::Left);
  EXPECT_FALSE(hasGap(chart, Side::Left));
  EXPECT_EQ(chart.GetAxis(5)->Key, "IV");
}

}  // namespace
}  // namespace orx::test
