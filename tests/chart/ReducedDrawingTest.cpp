// A curve of many samples per pixel column is drawn through at most four
// vertices a column; the pixels must be those of the full polyline. Qt's
// aliased stroker sets the end pixel of a vertical step by the step's
// direction and neighbours, so a thinned column can end its span one pixel
// short or long: 1 to 7 such pixels were seen in a 1000x600 chart of nine
// curves of 5,800 samples. More than that is a drawing that went wrong.
constexpr int kEndPixelsAllowed = 12;
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <random>

#include "ChartTestApp.h"
#include "datalog/LogDecode.h"
#include "tools/LogGenerator.h"

namespace orx {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The chart as rendered, and the same chart without its curves with every
// curve's full polyline (PolylineRuns) drawn over it.
int PixelsDifferingFromFullPolylines(CChartCtrl& chart) {
  const QImage reduced = chart.RenderedImage().copy();
  std::vector<CChartLineSerie*> series;
  for (CChartSerie* s : chart.Series()) series.push_back(static_cast<CChartLineSerie*>(s));
  for (CChartLineSerie* s : series) s->SetShown(false);
  QImage full = chart.RenderedImage().copy();
  QPainter painter(&full);
  for (CChartLineSerie* s : series) {
    const ChartRect& r = s->PlottingRect();
    painter.setClipRect(r.left, r.top, r.Width(), r.Height());
    QPen pen(s->GetColor(), 0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    for (const auto& run : s->PolylineRuns()) painter.drawPolyline(run.data(), static_cast<int>(run.size()));
    s->SetShown(true);
  }
  painter.end();
  int differing = 0;
  for (int y = 0; y < full.height(); ++y)
    for (int x = 0; x < full.width(); ++x) differing += full.pixel(x, y) != reduced.pixel(x, y);
  return differing;
}

// The nine quantities of a generated full log memory as curves, 0..100 each.
void PlotGeneratedLog(test::SimpleChart& c, std::uint32_t seed) {
  sim::LogFill fill;
  fill.bytes = 64768;
  fill.sessions = 5;
  fill.seed = seed;
  const datalog::LogData log = *datalog::decodeLog(sim::generateLog(fill));
  c.bottom->SetRange(0, log.duration);
  std::vector<double> xs, ys;
  for (const auto& s : log.samples) xs.push_back(s.time);
  using Field = double datalog::LogSample::*;
  for (Field f : {&datalog::LogSample::voltage, &datalog::LogSample::consumption, &datalog::LogSample::current,
                  &datalog::LogSample::temperature, &datalog::LogSample::power, &datalog::LogSample::outputThrottle,
                  &datalog::LogSample::inputThrottle, &datalog::LogSample::speed, &datalog::LogSample::energy}) {
    ys.clear();
    for (const auto& s : log.samples) ys.push_back(s.*f);
    CChartLineSerie* serie = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
    serie->SetPoints(xs.data(), ys.data(), static_cast<unsigned>(xs.size()));
  }
}

TEST(ReducedDrawing, GeneratedLogsDrawTheFullPolylinesPixels) {
  for (std::uint32_t seed : {1u, 7u, 42u}) {
    test::SimpleChart c(1000, 600);
    PlotGeneratedLog(c, seed);
    EXPECT_LE(PixelsDifferingFromFullPolylines(c.chart), kEndPixelsAllowed) << "seed " << seed;
    // Zoomed in (few samples a column) and on an inverted value axis.
    c.bottom->SetZoomRange(100, 400);
    c.left->SetInverted(true);
    EXPECT_LE(PixelsDifferingFromFullPolylines(c.chart), kEndPixelsAllowed) << "seed " << seed << ", zoomed and inverted";
  }
}

TEST(ReducedDrawing, NoisyCurveWithGapsAndPointsOffTheAxis) {
  test::SimpleChart c(700, 400);
  std::mt19937 random(3);
  std::vector<double> xs, ys;
  double y = 50;
  for (int i = 0; i < 40000; ++i) {
    y += std::uniform_real_distribution<double>(-6, 6)(random);
    xs.push_back(i * 0.0025);
    ys.push_back(i % 5000 == 2500 ? kNaN : y);  // wanders off the 0..100 axis too
  }
  c.chart.AddLineSeries(kBottomAxis, kLeftAxis)->SetPoints(xs.data(), ys.data(), 40000);
  EXPECT_LE(PixelsDifferingFromFullPolylines(c.chart), kEndPixelsAllowed);
}

}  // namespace
}  // namespace orx
