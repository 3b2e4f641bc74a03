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

int chooseSecondSession(QDialog& d) {
  auto& s = dynamic_cast<GraphSession&>(d);
  s.combo()->setCurrentIndex(1);
  s.onOk();
  return s.result();
}

std::function<int(QDialog&)> options(std::function<void(GraphOptions&)> clicks) {
  return [clicks](QDialog& d) {
    auto& o = dynamic_cast<GraphOptions&>(d);
    clicks(o);
    o.onOk();
    return o.result();
  };
}

TEST(GraphScale, EveryReplotAfterAZoomPutsEachCurveBackOnItsAxis) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.window.receiveLog(generatedRecords());
  EXPECT_LE(worstMisfit(rig.window), 1);
  zoomIn(chart);
  EXPECT_LE(worstMisfit(rig.window), 1);  // zoomed together
  rig.onDialog(chooseSecondSession);
  rig.window.command(gcmd::kSelectSession);
  EXPECT_LE(worstMisfit(rig.window), 1);
  EXPECT_DOUBLE_EQ(chart.GetAxis(14)->GetMax(), 100);
  zoomIn(chart);
  rig.window.receiveLog(generatedRecords(30000, 3));
  EXPECT_LE(worstMisfit(rig.window), 1);
  EXPECT_DOUBLE_EQ(chart.GetAxis(2)->GetMin(), 800);
}

TEST(GraphScale, AnAxisMovedWhileZoomedResetsToItsFullRange) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.window.receiveLog(generatedRecords());
  zoomIn(chart);
  rig.onDialog(options([](GraphOptions& o) { o.rightBox("TE")->click(); }));
  rig.window.command(gcmd::kDisplayOptions);
  EXPECT_LE(worstMisfit(rig.window), 1);
  const ChartRect& p = chart.GetPlottingRect();
  drag(chart, QPoint(p.right - 20, p.bottom - 20), QPoint(p.left + 20, p.top + 20));  // Reset Zoom
  EXPECT_DOUBLE_EQ(axisOfKey(chart, "TE")->GetMin(), 0);
  EXPECT_DOUBLE_EQ(axisOfKey(chart, "TE")->GetMax(), 210);
  EXPECT_LE(worstMisfit(rig.window), 1);
}

TEST(GraphScale, OptionsNeverPushAnAxisOffTheChart) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.window.receiveLog(generatedRecords());
  rig.onDialog(options([](GraphOptions& o) {
    o.rightBox("TE")->click();
    o.leftBox("OT")->click();
    o.leftBox("RP")->click();
  }));
  rig.window.command(gcmd::kDisplayOptions);
  EXPECT_FALSE(hasGap(chart, Side::Left));
  EXPECT_FALSE(hasGap(chart, Side::Right));
  chart.RenderedImage();
  for (int slot = 9; slot <= 13; ++slot) {
    const CChartAxis* axis = chart.GetAxis(slot);
    if (axis->IsShown()) EXPECT_LT(axis->AxisRect().left + VerticalOffsets(slot).line, chart.width()) << axis->Key;
  }
}

TEST(GraphScale, TheLastLeftCurveStaysLockedWhateverIsClickedOnTheRight) {
  GraphRig rig;
  GraphOptions o(rig.window.chart());
  for (const char* key : {"DP", "TE", "DC"}) o.leftBox(key)->click();
  ASSERT_EQ(o.leftCount(), 1);
  o.rightBox("DP")->click();  // a hidden row joins the right side
  EXPECT_FALSE(o.rightBox("IV")->isEnabled());
  EXPECT_FALSE(o.leftBox("IV")->isEnabled());
}

TEST(GraphScale, UnitsAndPolesChangedWhileZoomedKeepTheCurvesOnTheirAxes) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.window.receiveLog(generatedRecords());
  zoomIn(chart);
  rig.onDialog([](QDialog& d) {
    auto& u = dynamic_cast<GraphChangeUnits&>(d);
    for (int id : {1101, 1047, 1052}) u.box(id)->click();  // Celsius, minutes, horsepower
    u.onOk();
    return u.result();
  });
  rig.window.command(gcmd::kChangeUnits);
  EXPECT_LE(worstMisfit(rig.window), 1);
  zoomIn(chart);
  rig.onDialog([](QDialog& d) {
    auto& r = dynamic_cast<GraphChangeRpm&>(d);
    r.edit()->setText("2");
    r.onOk();
    return r.result();
  });
  rig.window.command(gcmd::kRpmSetup);
  const QPoint middle((chart.GetPlottingRect().left + chart.GetPlottingRect().right) / 2, 100);
  QMouseEvent move(QEvent::MouseMove, QPointF(middle), chart.mapToGlobal(QPointF(middle)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&chart, &move);  // the new pole count applies over data
  ASSERT_EQ(chart.Readout().appliedPoles, 2);
  EXPECT_LE(worstMisfit(rig.window), 1);
}

// Text is smoothed into the white background: a pixel belongs to `colour`
// when it is that colour blended with white.
bool inks(QColor pixel, QColor colour) {
  const int p[] = {pixel.red(), pixel.green(), pixel.blue()}, c[] = {colour.red(), colour.green(), colour.blue()};
  double a = 0;
  for (int i = 0; i < 3; ++i) a = std::max(a, (255.0 - p[i]) / (255.0 - c[i]));
  if (a < 0.25) return false;
  for (int i = 0; i < 3; ++i)
    if (std::abs(p[i] - (255 - a * (255 - c[i]))) > 4) return false;
  return true;
}

// Columns [first, last] beside the plot inked in `colour`.
std::pair<int, int> columnsOf(const QImage& image, const ChartRect& plot, QColor colour) {
  int first = image.width(), last = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((x < plot.left || x > plot.right) && inks(image.pixelColor(x, y), colour))
        first = std::min(first, x), last = std::max(last, x);
  return {first, last};
}

TEST(GraphScale, AfterAZoomNoTickLabelCoversATitle) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.window.receiveLog(generatedRecords());
  zoomIn(chart);
  const std::vector<int> vertical = {0, 2, 4, 5, 6, 9, 10, 11};
  for (int slot : vertical) {
    // This axis alone drawn, in colours of its own; the layout stays.
    for (int other : vertical) chart.GetAxis(other)->SetShown(other == slot);
    chart.GetAxis(slot)->GetTitle()->SetColor(QColor(200, 0, 0));
    chart.GetAxis(slot)->SetTickTextColor(QColor(0, 0, 200));
    const QImage image = chart.RenderedImage();
    const auto title = columnsOf(image, chart.GetPlottingRect(), QColor(200, 0, 0));
    const auto labels = columnsOf(image, chart.GetPlottingRect(), QColor(0, 0, 200));
    ASSERT_TRUE(title.second >= 0 && labels.second >= 0) << slot;
    EXPECT_TRUE(title.second < labels.first || labels.second < title.first)
        << chart.GetAxis(slot)->Key << " title " << title.first << ".." << title.second << " labels "
        << labels.first << ".." << labels.second;
  }
}

TEST(GraphScale, NoCrossHairBeforeTheMouseComes) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  const QImage shown = chart.grab().toImage();
  const ChartRect& p = chart.GetPlottingRect();
  for (int x : {0, 1}) EXPECT_EQ(shown.pixelColor(x, (p.top + p.bottom) / 2), QColor(Qt::white)) << x;
}

TEST(GraphKeeps, ChosenCurveColoursSurviveEveryReplot) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.window.receiveLog(generatedRecords());
  const QColor chosen(10, 20, 30);
  rig.onDialog(options([&](GraphOptions& o) { o.picker("TE")->SetColour(FromQColor(chosen)); }));
  rig.window.command(gcmd::kDisplayOptions);
  rig.onDialog(chooseSecondSession);
  rig.window.command(gcmd::kSelectSession);
  EXPECT_EQ(chart.FindSerie("TE")->GetColor(), chosen);
  rig.window.receiveLog(generatedRecords());
  EXPECT_EQ(chart.FindSerie("TE")->GetColor(), chosen);
}

TEST(GraphKeeps, ThePoleCountSurvivesASessionChange) {
  GraphRig rig;
  CChartCtrl& chart = rig.window.chart();
  rig.window.receiveLog(generatedRecords());
  rig.onDialog([](QDialog& d) {
    auto& r = dynamic_cast<GraphChangeRpm&>(d);
    r.edit()->setText("14");
    r.onOk();
    return r.result();
  });
  rig.window.command(gcmd::kRpmSetup);
  rig.onDialog(chooseSecondSession);
  rig.window.command(gcmd::kSelectSession);
  EXPECT_EQ(chart.Readout().requestedPoles, 14);
  EXPECT_EQ(axisOfKey(chart, "RP")->GetTitle()->GetText(), "RPM (14)num poles");
  EXPECT_LE(worstMisfit(rig.window), 1);
}

}  // namespace
}  // namespace orx::test
