// Not a test: draws the graph window's chart set-up (fifteen axes, nine
// curves of a made-up flight) into a PNG, to look at the layout.
// Usage: chart-shot out.png [width height]
#include <QApplication>
#include <QImage>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "chart/ChartCtrl.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: chart-shot out.png [width height]\n");
    return 2;
  }
  QApplication app(argc, argv);
  using namespace orx;
  CChartCtrl chart;
  chart.resize(argc > 3 ? std::atoi(argv[2]) : 1220, argc > 3 ? std::atoi(argv[3]) : 560);
  chart.EnableRedraw(false);
  chart.SetBackColor(Qt::white);
  chart.SetBorderColor(Qt::white);
  chart.SetZoomRectColor(Qt::black);
  chart.SetLeftLabelShift(-100);
  chart.SetRightLabelShift(100);
  struct Axis {
    const char* key;
    const char* title;
    QColor colour;
    double max;
    bool shown;
  };
  const Axis axes[] = {
      {"DP", "Motor Drive Power (W)", {0, 200, 0}, 1100, true},
      {"TM", "Time (s)", Qt::black, 100, true},
      {"IT", "Input Throttle (us)", {255, 51, 255}, 2200, true},
      {"", "", Qt::black, 100, true},
      {"TE", "Temperature (\xB0" "F)", {0, 0, 128}, 210, true},
      {"DC", "Motor Drive Current (A)", {128, 0, 0}, 36, true},
      {"IV", "Drive Voltage (V)", {127, 0, 255}, 50, true},
      {"L5", "Test Val L5", {0, 0, 102}, 100, false},
      {"L6", "Test Val L6", {255, 153, 153}, 100, false},
      {"OT", "Output Throttle (%)", {255, 0, 0}, 100, true},
      {"RP", "Motor Angular Velocity (RPM) (4 Poles) (10^3)", {0, 0, 255}, 30, true},
      {"PC", "Power Consumption (Ah)", {0, 128, 128}, 2.001, true},
      {"R5", "Test Val R5", {102, 0, 204}, 100, false},
      {"R6", "Test Val R6", {0, 0, 0}, 100, false},
      {"CA", "Constant Axis", {0, 0, 0}, 100, false},
  };
  for (int slot = 0; slot < kAxisSlotCount; ++slot) {
    CChartAxis* axis = slot < 4 ? chart.CreateAxis(slot) : chart.CreateExtraAxis(slot);
    axis->Key = axes[slot].key;
    axis->SetRange(slot == 2 ? 800 : 0, axes[slot].max);
    axis->SetShown(axes[slot].shown);
    axis->SetLineColor(axes[slot].colour);
    axis->SetTickTextColor(axes[slot].colour);
    axis->GetTitle()->SetText(axes[slot].title);
    axis->GetTitle()->SetColor(axes[slot].colour);
    axis->GetGrid()->SetShown(false);
  }
  const char* keys[] = {"IV", "PC", "TE", "DC", "DP", "OT", "IT", "RP"};
  std::vector<double> xs;
  for (int i = 0; i < 1000; ++i) xs.push_back(i * 0.1);
  for (int k = 0; k < 8; ++k) {
    std::vector<double> ys;
    for (double t : xs) ys.push_back(50 + 40 * std::sin(t / (5.0 + k) + k));
    CChartLineSerie* s = chart.AddLineSeries(3, 14);
    s->SetName(keys[k]);
    s->SetColor(DefaultSerieColor(k));
    s->SetPoints(xs.data(), ys.data(), static_cast<unsigned>(xs.size()));
  }
  chart.AddCrossHair(false, false);
  chart.EnableRedraw(true);
  return chart.RenderedImage().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
