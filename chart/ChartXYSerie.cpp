#include "chart/ChartSerieBase.h"

namespace orx {

void CChartXYSerie::SetPoints(const double* xs, const double* ys, unsigned count) {
  std::vector<SChartXYPoint> points;
  if (xs && ys) {
    points.reserve(count);
    for (unsigned i = 0; i < count; ++i) points.push_back({xs[i], ys[i], 0.0});
  }
  ReplacePoints(std::move(points));
}

}  // namespace orx
