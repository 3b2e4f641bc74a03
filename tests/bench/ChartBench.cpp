// The chart's full redraw against plain polylines of every point, and the
// cost of a mouse move over the chart against a repaint of the whole chart.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "Bench.h"
#include "BenchLogs.h"
#include "graph/Graph.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/RecordingPrompter.h"

namespace orx::bench {
namespace {

// The graph window sized so that its chart is `chartW` x `chartH`.
struct Window {
  test::RecordingPrompter prompter;
  test::FixedChooser files;
  graph::Graph graph{nullptr, prompter, files};
  // Shown, because a hidden window does not lay out its chart: the size asked
  // for would not be the size drawn.
  Window(int chartW, int chartH, const datalog::LogData& log) {
    graph.showLog(log, log.tripped);
    graph.show();
    for (int i = 0; i < 3; ++i) {
      QApplication::processEvents();
      const QSize off = QSize(chartW, chartH) - chart().size();
      if (off.isNull()) break;
      graph.resize(graph.size() + off);
    }
    QApplication::processEvents();
  }
  CChartCtrl& chart() { return graph.chart(); }
};

// Every shown curve's points as pixels, for the plain reference drawing.
std::vector<std::pair<QColor, std::vector<QPoint>>> curvePixels(CChartCtrl& chart) {
  chart.RenderedImage();
  std::vector<std::pair<QColor, std::vector<QPoint>>> curves;
  for (CChartSerie* serie : chart.Series()) {
    if (!serie->IsShown()) continue;
    std::vector<QPoint> pts;
    for (unsigned i = 0; i < serie->PointCount(); ++i) pts.push_back(serie->PointPixel(i));
    curves.emplace_back(serie->GetColor(), std::move(pts));
  }
  return curves;
}

void drawPlain(QImage& image, const std::vector<std::pair<QColor, std::vector<QPoint>>>& curves) {
  QPainter painter(&image);
  painter.fillRect(image.rect(), Qt::white);
  for (const auto& [colour, pts] : curves) {
    QPen pen(colour, 0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawPolyline(pts.data(), static_cast<int>(pts.size()));
  }
}

// The flight of `log` sampled `times` as densely: samples in between,
// interpolated. The curves keep their shape, so the ink to draw stays the
// same while the samples grow.
datalog::LogData denser(const datalog::LogData& log, int times) {
  datalog::LogData out = log;
  out.samples.clear();
  constexpr double datalog::LogSample::*kValues[] = {
      &datalog::LogSample::time,           &datalog::LogSample::voltage,        &datalog::LogSample::consumption,
      &datalog::LogSample::current,        &datalog::LogSample::temperature,    &datalog::LogSample::power,
      &datalog::LogSample::outputThrottle, &datalog::LogSample::inputThrottle, &datalog::LogSample::speed,
      &datalog::LogSample::energy};
  for (size_t i = 0; i < log.samples.size(); ++i) {
    out.samples.push_back(log.samples[i]);
    if (i + 1 == log.samples.size()) break;
    for (int k = 1; k < times; ++k) {
      datalog::LogSample s = log.samples[i];
      const double f = static_cast<double>(k) / times;
      for (auto field : kValues) s.*field += f * (log.samples[i + 1].*field - s.*field);
      out.samples.push_back(s);
    }
  }
  return out;
}

}  // namespace

bool chartBench(int rounds) {
  std::printf("chart: full redraw of 9 curves into 1600x900 (CPU time, median of %d interleaved runs)\n", rounds);
  // 4x the samples: the same flight sampled four times as densely, so the
  // picture stays the same; and four flights side by side, which also draws
  // about 2.4 times the ink into the same width.
  const datalog::LogData one = longLog(1), dense = denser(one, 4), four = longLog(4);
  Window w1(1600, 900, one), wDense(1600, 900, dense), w4(1600, 900, four);
  QImage plain(1600, 900, QImage::Format_RGB32);
  const auto pixels1 = curvePixels(w1.chart());
  const auto pixelsDense = curvePixels(wDense.chart());
  const auto pixels4 = curvePixels(w4.chart());
  // A redraw of the same view: the curves change, the frame (axes, labels,
  // titles) is kept.
  auto redraw = [](Window& w) {
    return [&w] {
      w.chart().RedrawCurves();
      w.chart().RenderedImage();
    };
  };
  // The first redraw after a zoom step, which lays the frame out anew; the
  // steps go in and back out around a moving point.
  int step = 0;
  auto zoomStep = [&step](Window& w) {
    return [&w, &step] {
      CChartCtrl& chart = w.chart();
      const ChartRect plot = chart.GetPlottingRect();
      const QPoint at(plot.left + (37 * step) % plot.Width(), (plot.top + plot.bottom) / 2);
      chart.ZoomAt(at, step % 2 ? 1.25 : 0.8, step % 4 < 2);
      ++step;
      chart.RenderedImage();
    };
  };
  // The same window with no curve shown, laid out anew on each run: what the
  // axes and labels cost.
  Window frame(1600, 900, one);
  for (CChartSerie* serie : frame.chart().Series()) serie->SetShown(false);
  // The redraws take rounds of their own, and so do the jobs that lay the
  // whole frame out and the references: each of those writes a whole
  // 1600x900 picture or walks 200,000 points, and a redraw timed right after
  // would pay for refilling the caches rather than for its own work. What
  // that costs is shown apart, with the caches emptied before each redraw.
  const auto t = interleaved({redraw(w1), redraw(wDense), redraw(w4)}, rounds);
  const auto layout = interleaved({zoomStep(w1),
                                   [&] {
                                     frame.chart().Redraw();
                                     frame.chart().RenderedImage();
                                   }},
                                  rounds);
  std::vector<char> junk(96 << 20);
  auto emptyCaches = [&junk] {
    for (size_t i = 0; i < junk.size(); i += 64) ++junk[i];
  };
  const auto cold = interleaved({emptyCaches, redraw(w1), emptyCaches, redraw(wDense)}, rounds);
  const auto ref = interleaved({[&] { drawPlain(plain, pixels1); }, [&] { drawPlain(plain, pixelsDense); },
                                [&] { drawPlain(plain, pixels4); }},
                               rounds);
  const double chart1 = median(t[0]), chartDense = median(t[1]), chart4 = median(t[2]);
  std::printf("  chart %dx%d, %zu samples a curve (4x: %zu); the frame alone, laid out anew %.3f ms\n",
              w1.chart().width(), w1.chart().height(), one.samples.size(), dense.samples.size(), median(layout[1]));
  std::printf("  first redraw after a zoom step (frame laid out anew), 1x samples %.3f ms\n", median(layout[0]));
  bool met = report("redraw same view, 1x samples", chart1, "ms", 3.0,
                    fmt("plain polylines of all points %.3f ms", median(ref[0])));
  met = report("redraw same view, 4x samples", chartDense, "ms", 1.3 * chart1,
               fmt("plain polylines of all points %.3f ms", median(ref[1]))) && met;
  std::printf("  with the caches emptied before each: 1x %.3f ms, 4x %.3f ms (%.2fx)\n", median(cold[1]),
              median(cold[3]), median(cold[3]) / median(cold[1]));
  std::printf("  four flights side by side (4x samples, 2.4x ink) %.3f ms, %.2fx the 1x redraw; plain polylines %.3f ms\n",
              chart4, chart4 / chart1, median(ref[2]));
  return met;
}

bool cursorBench(int moves) {
  std::printf("cursor: mouse moves over a shown 1600x908 chart, each painted before the next (CPU time, median of %d)\n", moves);
  Window w(1600, 908, longLog(1));
  CChartCtrl& chart = w.chart();
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  const ChartRect plot = chart.GetPlottingRect();
  const int y = (plot.top + plot.bottom) / 2;
  int x = plot.left + 5;
  auto move = [&](bool wholeChart) {
    return [&, wholeChart] {
      x = x + 3 < plot.right - 5 ? x + 3 : plot.left + 5;
      const QPoint at(x, y);
      QMouseEvent event(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(&chart, &event);
      if (wholeChart) chart.update();
      QApplication::processEvents();
    };
  };
  // Moves come in streams, so each kind takes turns in runs of 10: a whole
  // repaint right before would leave the caches cold for a move.
  auto run = [&](bool wholeChart, bool cpu, std::vector<double>* into) {
    return [&, wholeChart, cpu, into] {
      const auto one = interleaved({move(wholeChart)}, 10, cpu)[0];
      into->insert(into->end(), one.begin(), one.end());
    };
  };
  std::vector<double> t[2], wall[2];
  const int before = chart.RenderCount();
  interleaved({run(false, true, &t[0]), run(true, true, &t[1])}, moves / 10);
  interleaved({run(false, false, &wall[0]), run(true, false, &wall[1])}, moves / 10);
  std::printf("  chart %dx%d rendered %d times during the moves; wall clock %.3f ms a move, %.3f ms with a whole repaint\n",
              chart.width(), chart.height(), chart.RenderCount() - before, median(wall[0]), median(wall[1]));
  return report("mouse move", median(t[0]), "ms", 0.3, fmt("a move with a whole-chart repaint %.3f ms", median(t[1])));
}

}  // namespace orx::bench
