// Every curve lies on the scale printed beside it, whatever was zoomed or
// moved before, and what the user set survives a replot.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "dialogs/ColourPicker.h"
#include "graph/AxisSides.h"
#include "graph/GraphChangeUnits.h"
#include "graph/GraphOptions.h"
#include "graph/GraphSession.h"
#include "GraphRig.h"

namespace orx::test {
namespace {

using namespace orx::graph;

const auto secondSession = okAfter<GraphSession>([](GraphSession& s) { s.combo()->setCurrentIndex(1); });
auto poles(const char* count) {
  return okAfter<GraphChangeRpm>([count](GraphChangeRpm& r) { r.edit()->setText(count); });
}

TEST(GraphScale, AfterAZoomEveryChangeKeepsEachCurveOnItsAxis) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.window.receiveLog(generatedRecords());
  auto zoomThen = [&](std::function<int(QDialog&)> answer, int command) {
    zoomIn(chart);
    rig.onDialog(answer);
    rig.window.command(command);
    return worstMisfit(rig.window);
  };
  EXPECT_LE(zoomThen(secondSession, gcmd::kSelectSession), 1);
  EXPECT_LE(zoomThen(okAfter<GraphChangeUnits>([](auto& u) { u.box(1101)->click(); }), gcmd::kChangeUnits), 1);
  zoomThen(poles("2"), gcmd::kRpmSetup);
  moveOverPlot(chart);  // the pole count applies over the data
  EXPECT_LE(worstMisfit(rig.window), 1);
  zoomIn(chart);
  rig.window.receiveLog(generatedRecords(30000, 3));
  EXPECT_LE(worstMisfit(rig.window), 1);
  // An axis moved while zoomed comes back to its full range on Reset Zoom.
  EXPECT_LE(zoomThen(okAfter<GraphOptions>([](auto& o) { o.rightBox("TE")->click(); }), gcmd::kDisplayOptions), 1);
  const ChartRect& p = chart.GetPlottingRect();
  drag(chart, QPoint(p.right - 20, p.bottom - 20), QPoint(p.left + 20, p.top + 20));
  EXPECT_LE(worstMisfit(rig.window), 1);
}

TEST(GraphScale, OptionsKeepEveryAxisOnTheChartAndACurveOnTheLeft) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.onDialog(okAfter<GraphOptions>([](GraphOptions& o) {
    for (auto* box : {o.rightBox("TE"), o.leftBox("OT"), o.leftBox("RP")}) box->click();
  }));
  rig.window.command(gcmd::kDisplayOptions);
  EXPECT_FALSE(hasGap(chart, Side::Right));
  chart.RenderedImage();
  for (int slot = 9; slot <= 13; ++slot) {
    if (chart.GetAxis(slot)->IsShown()) {
      EXPECT_LT(chart.GetAxis(slot)->AxisRect().left + 50 * (slot - 8), chart.width());
    }
  }

  GraphOptions o(chart);
  for (const char* key : {"DP", "DC", "IV", "OT"}) o.leftBox(key)->click();
  ASSERT_EQ(o.leftCount(), 1);  // RP alone on the left, its boxes locked
  o.rightBox("IV")->click();    // the right side's limit rule runs
  EXPECT_FALSE(o.rightBox("RP")->isEnabled());
}

// Columns beside the plot where `pure` (255 in one channel, smoothed into the
// white background) is drawn.
std::pair<int, int> columnsOf(const QImage& image, const ChartRect& plot, int pure) {
  int first = image.width(), last = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int ch[] = {c.red(), c.green(), c.blue()}, a = ch[(pure + 1) % 3], b = ch[(pure + 2) % 3];
      if ((x < plot.left || x > plot.right) && ch[pure] == 255 && a == b && a < 160)
        first = std::min(first, x), last = std::max(last, x);
    }
  return {first, last};
}

TEST(GraphScale, AfterAZoomNoTickLabelCoversATitleAndNoCrossHairWaitsForTheMouse) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.window.receiveLog(generatedRecords());
  const QImage before = chart.grab().toImage();
  const ChartRect& p = chart.GetPlottingRect();
  EXPECT_EQ(before.pixelColor(0, (p.top + p.bottom) / 2), QColor(Qt::white));
  zoomIn(chart);
  const std::vector<int> vertical = {0, 2, 4, 5, 6, 9, 10, 11};
  for (int slot : vertical) {
    for (int other : vertical) chart.GetAxis(other)->SetShown(other == slot);  // the layout stays
    chart.GetAxis(slot)->GetTitle()->SetColor(Qt::red);
    chart.GetAxis(slot)->SetTickTextColor(Qt::green);
    chart.GetAxis(slot)->SetLineColor(Qt::black);
    const QImage image = chart.RenderedImage();
    const auto title = columnsOf(image, p, 0), labels = columnsOf(image, p, 1);
    ASSERT_TRUE(title.second >= 0 && labels.second >= 0) << slot;
    EXPECT_TRUE(title.second < labels.first || labels.second < title.first) << chart.GetAxis(slot)->Key;
  }
}

TEST(GraphKeeps, CurveColoursAndThePoleCountSurviveAReplot) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.window.receiveLog(generatedRecords());
  const QColor chosen(10, 20, 30);
  rig.onDialog(okAfter<GraphOptions>([&](GraphOptions& o) { o.picker("TE")->SetColour(FromQColor(chosen)); }));
  rig.window.command(gcmd::kDisplayOptions);
  rig.onDialog(poles("14"));
  rig.window.command(gcmd::kRpmSetup);
  rig.onDialog(secondSession);
  rig.window.command(gcmd::kSelectSession);
  EXPECT_EQ(chart.FindSerie("TE")->GetColor(), chosen);
  EXPECT_EQ(chart.Readout().requestedPoles, 14);
  EXPECT_EQ(axisOfKey(chart, "RP")->GetTitle()->GetText(), "RPM (14)num poles");
  EXPECT_LE(worstMisfit(rig.window), 1);
  rig.window.receiveLog(generatedRecords());
  EXPECT_EQ(chart.FindSerie("TE")->GetColor(), chosen);
}

}  // namespace
}  // namespace orx::test
