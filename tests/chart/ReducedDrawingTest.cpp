// A curve of many samples per pixel column is drawn through at most four
// vertices a column, by hand into the picture's pixels; the pixels must be
// those of the full polyline drawn the same way, and close to what the
// painter draws for it.
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <random>

#include "ChartTestApp.h"
#include "chart/LineRaster.h"
#include "datalog/LogDecode.h"
#include "tools/LogGenerator.h"

namespace orx {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The painter sets a pixel apart from a lone line's at some bends of a
// polyline (one past the bend of a steep V, or none at the bend itself); of
// the pixels the curves light, 0.3 to 1.8 % were seen to differ from the
// painter's drawing of them, each a single pixel at a bend. A line drawn
// wrongly differs in far more.
constexpr double kPainterBendShare = 0.03;

struct Differences {
  int fromFullPolylines = 0;  // drawn the chart's way: must be none
  int fromPainter = 0;        // drawn by QPainter
  int curvePixels = 0;        // what the curves light in all
};

// The chart as rendered, against the same chart without its curves with
// every curve's full polyline (PolylineRuns) drawn over it, by hand and by
// the painter.
Differences CompareWithFullPolylines(CChartCtrl& chart) {
  const QImage reduced = chart.RenderedImage().copy();
  std::vector<CChartLineSerie*> series;
  for (CChartSerie* s : chart.Series()) series.push_back(static_cast<CChartLineSerie*>(s));
  for (CChartLineSerie* s : series) s->SetShown(false);
  const QImage bare = chart.RenderedImage().copy();
  QImage byHand = bare.copy(), byPainter = bare.copy();
  QPainter painter(&byPainter);
  for (CChartLineSerie* s : series) {
    const ChartRect& r = s->PlottingRect();
    const QRect clip(r.left, r.top, r.Width(), r.Height());
    painter.setClipRect(clip);
    QPen pen(s->GetColor(), 0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    LineRaster raster({reinterpret_cast<std::uint32_t*>(byHand.bits()), byHand.bytesPerLine() / 4, clip.left(),
                       clip.top(), clip.right(), clip.bottom()},
                      s->GetColor().rgba());
    for (const auto& run : s->PolylineRuns()) {
      painter.drawPolyline(run.data(), static_cast<int>(run.size()));
      raster.Polyline(run.data(), run.size());
    }
    s->SetShown(true);
  }
  painter.end();
  Differences d;
  for (int y = 0; y < bare.height(); ++y)
    for (int x = 0; x < bare.width(); ++x) {
      d.fromFullPolylines += byHand.pixel(x, y) != reduced.pixel(x, y);
      d.fromPainter += byPainter.pixel(x, y) != reduced.pixel(x, y);
      d.curvePixels += bare.pixel(x, y) != reduced.pixel(x, y);
    }
  return d;
}

void ExpectFullPolylinesPixels(CChartCtrl& chart, const std::string& what) {
  const Differences d = CompareWithFullPolylines(chart);
  EXPECT_EQ(d.fromFullPolylines, 0) << what;
  EXPECT_GT(d.curvePixels, 1000) << what;
  EXPECT_LE(d.fromPainter, kPainterBendShare * d.curvePixels) << what;
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
    ExpectFullPolylinesPixels(c.chart, "seed " + std::to_string(seed));
    // Zoomed in (few samples a column) and on an inverted value axis; then so
    // far in that the samples stand a few columns apart, some two to a column.
    c.bottom->SetZoomRange(100, 400);
    c.left->SetInverted(true);
    ExpectFullPolylinesPixels(c.chart, "seed " + std::to_string(seed) + ", zoomed and inverted");
    c.bottom->SetZoomRange(100, 140);
    ExpectFullPolylinesPixels(c.chart, "seed " + std::to_string(seed) + ", zoomed far");
  }
}

TEST(ReducedDrawing, NoisyCurveWithGapsAndPointsOffTheAxis) {
  test::SimpleChart c(700, 400);
  std::mt19937 random(3);
  std::vector<double> xs, ys;
  for (int i = 0; i < 40000; ++i) {
    // Swings off the 0..100 axis both ways, and crosses its middle every
    // 4,488 samples, where a gap or an infinite value is put.
    const double y = 50 + 70 * std::sin(i * 0.0007) + std::uniform_real_distribution<double>(-15, 15)(random);
    const int crossing = (i + 4488 / 2) / 4488;
    const bool special = i == crossing * 4488 && crossing > 0;
    xs.push_back(i * 0.0025 - 100);
    ys.push_back(!special ? y : crossing % 2 ? kNaN : std::numeric_limits<double>::infinity());
  }
  c.bottom->SetRange(-100, 0);
  CChartLineSerie* curve = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  curve->SetPoints(xs.data(), ys.data(), 40000);
  ExpectFullPolylinesPixels(c.chart, "noisy curve");
  c.bottom->SetDiscrete(true);  // snaps values to its ticks: no column can be told from the value alone
  ExpectFullPolylinesPixels(c.chart, "noisy curve, snapping axis");
  c.bottom->SetDiscrete(false);
  curve->SetOrdering(0);  // the same points taken as given, not known to be in X order
  ExpectFullPolylinesPixels(c.chart, "noisy curve, unordered");
}

// Curves go straight into the pixels of a painter that is only shifted: they
// must land where the painter puts the rest; a shadow is the curve again,
// moved down and right by its depth.
TEST(ReducedDrawing, ShiftedPainterAndShadowsLandInPlace) {
  test::SimpleChart c(500, 300);
  PlotGeneratedLog(c, 3);
  for (CChartSerie* other : c.chart.Series()) other->SetShown(false);
  CChartSerie* curve = c.chart.Series().front();
  curve->SetShown(true);
  curve->SetColor(Qt::blue);
  const QImage plain = c.chart.RenderedImage().copy();
  curve->SetShadow(true);
  curve->SetShadowColor(Qt::red);
  curve->SetShadowDepth(4);
  const QImage own = c.chart.RenderedImage().copy();
  int shadow = 0, misplaced = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 500; ++x)
      if (own.pixel(x, y) == qRgb(255, 0, 0))
        ++shadow, misplaced += x < 4 || y < 4 || plain.pixel(x - 4, y - 4) != qRgb(0, 0, 255);
  EXPECT_GT(shadow, 200);
  EXPECT_EQ(misplaced, 0);
  QImage shifted(520, 330, QImage::Format_RGB32);
  shifted.fill(Qt::white);
  QPainter painter(&shifted);
  painter.translate(13, 21);
  c.chart.DrawChart(painter, ChartRect{0, 0, 500, 300}.Deflated(3), 0, 0);
  painter.end();
  EXPECT_EQ(shifted.copy(13, 21, 500, 300), own);
}

}  // namespace
}  // namespace orx
