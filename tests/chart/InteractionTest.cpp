// Zoom rectangle, panning, cross-hair, read-out and listeners through real
// mouse events on the control.
#include <gtest/gtest.h>

#include <QLabel>

#include "ChartTestApp.h"
#include "base/Format.h"
#include "chart/ChartScrollBar.h"

namespace orx {
namespace {

using test::leftDrag;
using test::moveMouse;
using test::rightDrag;
using test::SimpleChart;

struct ZoomChart : SimpleChart {
  CChartAxis* hidden;
  ZoomChart() {
    hidden = chart.CreateExtraAxis(5);
    hidden->SetRange(0, 10);
    hidden->SetShown(false);
    chart.RenderedImage();
  }
  QPoint InPlot(int dx, int dy) const {
    const ChartRect p = chart.GetPlottingRect();
    return {p.left + dx, p.top + dy};
  }
};

TEST(ChartZoom, DragDownRightZoomsEveryAxisIncludingHiddenOnes) {
  ZoomChart c;
  const QPoint a = c.InPlot(100, 50), b = c.InPlot(300, 250);
  const double x0 = c.bottom->PixelToValue(a.x()), x1 = c.bottom->PixelToValue(b.x());
  const double y0 = c.left->PixelToValue(b.y()), y1 = c.left->PixelToValue(a.y());
  const double h0 = c.hidden->PixelToValue(b.y()), h1 = c.hidden->PixelToValue(a.y());
  leftDrag(c.chart, a, b);
  EXPECT_DOUBLE_EQ(c.bottom->GetMin(), x0);
  EXPECT_DOUBLE_EQ(c.bottom->GetMax(), x1);
  EXPECT_DOUBLE_EQ(c.left->GetMin(), y0);
  EXPECT_DOUBLE_EQ(c.left->GetMax(), y1);
  EXPECT_DOUBLE_EQ(c.hidden->GetMin(), h0);
  EXPECT_DOUBLE_EQ(c.hidden->GetMax(), h1);
  EXPECT_LT(x1 - x0, 100);
  EXPECT_FALSE(c.chart.IsZoomDragging());
}

TEST(ChartZoom, DragUpLeftRestoresEveryAxis) {
  ZoomChart c;
  leftDrag(c.chart, c.InPlot(100, 50), c.InPlot(300, 250));
  leftDrag(c.chart, c.InPlot(300, 250), c.InPlot(100, 50));
  EXPECT_DOUBLE_EQ(c.bottom->GetMin(), 0);
  EXPECT_DOUBLE_EQ(c.bottom->GetMax(), 100);
  EXPECT_DOUBLE_EQ(c.left->GetMax(), 100);
  EXPECT_DOUBLE_EQ(c.hidden->GetMax(), 10);
}

TEST(ChartZoom, ClickFlatDragAndDisabledZoomChangeNothing) {
  ZoomChart c;
  leftDrag(c.chart, c.InPlot(100, 50), c.InPlot(100, 50));
  leftDrag(c.chart, c.InPlot(100, 50), c.InPlot(300, 50));  // flat in y
  EXPECT_DOUBLE_EQ(c.bottom->GetMax(), 100);
  EXPECT_DOUBLE_EQ(c.left->GetMax(), 100);
  c.chart.SetZoomEnabled(false);
  leftDrag(c.chart, c.InPlot(100, 50), c.InPlot(300, 250));
  EXPECT_DOUBLE_EQ(c.bottom->GetMax(), 100);
}

TEST(ChartZoom, NarrowRectangleWidenedToTheLimit) {
  ZoomChart c;
  c.bottom->SetRange(0, 0.1);
  c.chart.RenderedImage();
  leftDrag(c.chart, c.InPlot(100, 50), c.InPlot(101, 250));
  EXPECT_NEAR(c.bottom->GetMax() - c.bottom->GetMin(), 0.001, 1e-12);
}

TEST(ChartPan, RightDragMovesTheContentWithTheMouse) {
  ZoomChart c;
  const QPoint from = c.InPlot(200, 100), to = c.InPlot(300, 100);
  const double shift = c.bottom->PixelToValue(from.x()) - c.bottom->PixelToValue(to.x());
  rightDrag(c.chart, from, to);
  EXPECT_NEAR(c.bottom->GetMin(), shift, 1e-9);
  EXPECT_NEAR(c.bottom->GetMax(), 100 + shift, 1e-9);
  EXPECT_LT(shift, 0);
  EXPECT_DOUBLE_EQ(c.left->GetMax(), 100);  // no vertical movement
  c.chart.SetPanEnabled(false);
  rightDrag(c.chart, from, c.InPlot(400, 200));
  EXPECT_NEAR(c.bottom->GetMin(), shift, 1e-9);
  c.chart.ResetZoom();
  EXPECT_DOUBLE_EQ(c.bottom->GetMin(), 0);
}

TEST(ChartCrossHair, VerticalLineFollowsTheMouseUntilHidden) {
  ZoomChart c;
  CChartCrossHairCursor* cross = c.chart.AddCrossHair(false, false);
  ASSERT_EQ(c.chart.GetCrossHair(), cross);
  const QPoint at = c.InPlot(222, 100);
  moveMouse(c.chart, at);
  EXPECT_EQ(cross->LastX(), at.x());
  const ChartRect plot = c.chart.GetPlottingRect();
  QImage shot = c.chart.grab().toImage();
  EXPECT_EQ(shot.pixelColor(at.x(), (plot.top + plot.bottom) / 2 + 7), QColor(Qt::black));
  EXPECT_EQ(shot.pixelColor(at.x() + 2, (plot.top + plot.bottom) / 2 + 7), QColor(Qt::white));
  // Not part of the off-screen picture: moving it re-renders nothing.
  const int renders = c.chart.RenderCount();
  moveMouse(c.chart, c.InPlot(250, 100));
  c.chart.grab();
  EXPECT_EQ(c.chart.RenderCount(), renders);
  cross->SetShown(false);
  shot = c.chart.grab().toImage();
  EXPECT_EQ(shot.pixelColor(c.InPlot(250, 100).x(), (plot.top + plot.bottom) / 2 + 7), QColor(Qt::white));
}

struct ReadoutChart : SimpleChart {
  QLabel speed, throttle, time, flight;
  CChartAxis* rpAxis;
  ReadoutChart() {
    rpAxis = chart.CreateExtraAxis(10);
    rpAxis->Key = "RP";
    rpAxis->SetRange(0, 30);
    const double xs[] = {0, 10, 20, 30, 40};
    const double ot[] = {40, 40, 40, 40, 40}, rp[] = {20, 20, 20, 20, 20};
    auto* s1 = chart.AddLineSeries(kBottomAxis, kLeftAxis);
    s1->SetName("OT");
    s1->SetPoints(xs, ot, 5);
    auto* s2 = chart.AddLineSeries(kBottomAxis, kLeftAxis);
    s2->SetName("RP");
    s2->SetPoints(xs, rp, 5);
    chart.Readout().speedFullScale = 30;
    chart.SetReadoutLabel(ReadoutStatic::MotorSpeed, &speed);
    chart.SetReadoutLabel(ReadoutStatic::OutputThrottle, &throttle);
    chart.SetReadoutLabel(ReadoutStatic::Time, &time);
    chart.SetReadoutLabel(ReadoutStatic::FlightNumber, &flight);
    chart.RenderedImage();
  }
};

TEST(ChartReadoutRow, MouseOverDataFillsTheLabels) {
  ReadoutChart c;
  const int x = c.bottom->ValueToPixel(15);
  moveMouse(c.chart, QPoint(x, 100));
  const double t = c.bottom->PixelToValue(x);
  EXPECT_EQ(c.time.text().toStdString(), strprintf("%.1fs", t));
  EXPECT_EQ(c.throttle.text().toStdString(), "40.0%");
  EXPECT_EQ(c.speed.text().toStdString(), "6000 RPM");
  EXPECT_EQ(c.flight.text().toStdString(), "0");
  moveMouse(c.chart, QPoint(c.bottom->ValueToPixel(60), 100));  // past the data
  EXPECT_EQ(c.throttle.text().toStdString(), "n/a");
  EXPECT_EQ(c.chart.ReadoutText(ReadoutStatic::MotorSpeed), "n/a");
}

TEST(ChartReadoutRow, NewPoleCountRescalesTheSpeedAxisOnTheNextMove) {
  ReadoutChart c;
  c.chart.Readout().requestedPoles = 2;
  moveMouse(c.chart, QPoint(c.bottom->ValueToPixel(60), 100));  // not over data: nothing yet
  EXPECT_DOUBLE_EQ(c.rpAxis->GetMax(), 30);
  moveMouse(c.chart, QPoint(c.bottom->ValueToPixel(15), 100));
  EXPECT_DOUBLE_EQ(c.rpAxis->GetMax(), 60);
  EXPECT_EQ(c.chart.Readout().appliedPoles, 2);
  EXPECT_EQ(c.speed.text().toStdString(), "12000 RPM");
}

struct HitRecorder : CChartSeriesMouseListener<SChartXYPoint> {
  std::vector<std::pair<ChartMouseEvent, unsigned>> hits;
  void OnMouseEventSeries(ChartMouseEvent e, QPoint, CChartSerieBase<SChartXYPoint>* serie, unsigned) override {
    hits.emplace_back(e, serie->GetSerieId());
  }
};

struct PlotRecorder : CChartMouseListener {
  std::vector<ChartMouseEvent> plot;
  int axisClicks = 0;
  int titleClicks = 0;
  int legendClicks = 0;
  void OnMouseEventTitle(ChartMouseEvent, QPoint) override { ++titleClicks; }
  void OnMouseEventLegend(ChartMouseEvent, QPoint) override { ++legendClicks; }
  void OnMouseEventPlotArea(ChartMouseEvent e, QPoint) override { plot.push_back(e); }
  void OnMouseEventAxis(ChartMouseEvent, QPoint, CChartAxis*) override { ++axisClicks; }
};

TEST(ChartListeners, TopmostSeriesHitGetsTheClickAndThePlotIsTold) {
  SimpleChart c;
  const double xs[] = {0, 100}, ys[] = {50, 50};
  auto* low = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  auto* high = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  low->SetPoints(xs, ys, 2);
  high->SetPoints(xs, ys, 2);
  HitRecorder lowHits, highHits;
  low->SetListener(&lowHits);
  high->SetListener(&highHits);
  PlotRecorder plot;
  c.chart.SetMouseListener(&plot);
  c.chart.RenderedImage();
  const QPoint on(c.bottom->ValueToPixel(30), c.left->ValueToPixel(50));
  test::sendMouse(c.chart, QEvent::MouseButtonPress, on, Qt::LeftButton, Qt::LeftButton);
  test::sendMouse(c.chart, QEvent::MouseButtonRelease, on, Qt::LeftButton, Qt::NoButton);
  ASSERT_EQ(highHits.hits.size(), 2u);
  EXPECT_EQ(highHits.hits[0].first, ChartMouseEvent::LButtonDown);
  EXPECT_EQ(highHits.hits[1].first, ChartMouseEvent::LButtonUp);
  EXPECT_TRUE(lowHits.hits.empty());
  moveMouse(c.chart, on);  // move notifications are off by default
  EXPECT_EQ(highHits.hits.size(), 2u);
  ASSERT_GE(plot.plot.size(), 3u);
  EXPECT_EQ(plot.plot[0], ChartMouseEvent::LButtonDown);
  const ChartRect p = c.chart.GetPlottingRect();
  test::sendMouse(c.chart, QEvent::MouseButtonPress, QPoint(p.left - 20, (p.top + p.bottom) / 2), Qt::RightButton,
                  Qt::RightButton);
  EXPECT_EQ(plot.axisClicks, 1);
  EXPECT_EQ(plot.titleClicks, 0);
  // With a title and a legend, clicks on them are told as such.
  low->SetName("TE");
  c.chart.GetTitle()->AddString("Flight");
  c.chart.GetLegend()->SetShown(true);
  c.chart.RenderedImage();
  test::sendMouse(c.chart, QEvent::MouseButtonPress, QPoint(c.chart.width() / 2, 6), Qt::RightButton,
                  Qt::RightButton);
  EXPECT_EQ(plot.titleClicks, 1);
  const ChartRect box = c.chart.GetLegend()->BoxRect();
  ASSERT_FALSE(box.IsEmpty());
  EXPECT_LT(box.right, c.chart.width());
  test::sendMouse(c.chart, QEvent::MouseButtonPress, QPoint(box.left + 2, box.top + 2), Qt::RightButton,
                  Qt::RightButton);
  EXPECT_EQ(plot.legendClicks, 1);
}

}  // namespace
}  // namespace orx

namespace orx {
namespace {

TEST(ChartScrollBars, StepsFollowTheZoomAndScrollByATenth) {
  SimpleChart c;
  auto* s = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  const double xs[] = {0, 100}, ys[] = {0, 100};
  s->SetPoints(xs, ys, 2);
  c.bottom->SetZoomRange(20, 30);
  int count = 0, position = 0;
  c.bottom->ScrollSteps(&count, &position);
  EXPECT_EQ(count, 100);  // span 100 in steps of a tenth of 10
  EXPECT_EQ(position, 20);
  c.bottom->EnableScrollBar(true);
  CChartScrollBar* bar = c.bottom->ScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->isHidden());
  EXPECT_EQ(bar->maximum(), 90);
  EXPECT_EQ(bar->value(), 20);
  bar->setValue(25);
  EXPECT_NEAR(c.bottom->GetMin(), 25, 1e-9);
  EXPECT_NEAR(c.bottom->GetMax(), 35, 1e-9);
  c.bottom->SetRange(0, 100);  // whole span shown: nothing to scroll, the bar hides
  EXPECT_TRUE(bar->isHidden());
  c.left->ScrollSteps(&count, &position);
  EXPECT_EQ(count, 10);
}

}  // namespace
}  // namespace orx
