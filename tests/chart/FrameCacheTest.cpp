// The chart keeps its frame in an image between renders: after any change the
// picture must still be the one a fresh render draws, and a change of the
// curves alone must reuse the frame.
#include <gtest/gtest.h>

#include <functional>

#include "ChartTestApp.h"

namespace orx {
namespace {

struct FramedChart : test::SimpleChart {
  CChartLineSerie* serie = chart.AddLineSeries(kBottomAxis, kLeftAxis);
  FramedChart() {
    const double xs[] = {0, 30, 60, 100}, ys[] = {10, 90, 40, 70};
    serie->SetPoints(xs, ys, 4);
    serie->SetName("DP");
    chart.RenderedImage();
  }
  // The kept picture against one drawn from nothing.
  bool MatchesFreshRender() {
    const QImage kept = chart.RenderedImage().copy();
    return kept == chart.RenderImage({});
  }
};

TEST(ChartFrameCache, EveryChangeShowsWhatAFreshRenderDraws) {
  FramedChart c;
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"zoom", [&] { c.chart.ZoomAt(QPoint(300, 200), 0.5, true); }},
      {"tick font", [&] { c.left->SetTickFont(120, "Microsoft Sans Serif"); }},
      {"line colour", [&] { c.left->SetLineColor(Qt::red); }},
      {"title", [&] { c.left->GetTitle()->SetText("Drive Voltage (V)"); }},
      {"grid", [&] { c.bottom->GetGrid()->SetShown(true); }},
      {"inverted", [&] { c.left->SetInverted(true); }},
      {"size", [&] { c.chart.resize(640, 420); }},
      {"curve colour", [&] { c.serie->SetColor(Qt::blue); }},
      {"curve points", [&] {
         const double xs[] = {0, 50, 100}, ys[] = {80, 5, 60};
         c.serie->SetPoints(xs, ys, 3);
       }},
      {"legend", [&] { c.chart.GetLegend()->SetShown(true); }},
      {"renamed curve in the legend", [&] { c.serie->SetName("Drive Power"); }},
  };
  for (const auto& [name, change] : changes) {
    change();
    EXPECT_TRUE(c.MatchesFreshRender()) << name;
  }
}

TEST(ChartFrameCache, CurveChangeReusesTheFrameOtherChangesRebuildIt) {
  FramedChart c;
  const int frames = c.chart.FrameRenderCount();
  c.serie->SetColor(Qt::red);
  c.serie->SetShown(false);
  const QImage hidden = c.chart.RenderedImage().copy();
  EXPECT_EQ(c.chart.FrameRenderCount(), frames);
  EXPECT_EQ(hidden.pixelColor(c.bottom->ValueToPixel(30), c.left->ValueToPixel(90)), QColor(Qt::white));
  c.left->SetRange(0, 50);
  c.chart.RenderedImage();
  EXPECT_EQ(c.chart.FrameRenderCount(), frames + 1);
}

}  // namespace
}  // namespace orx
