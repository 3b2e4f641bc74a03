// A mouse move over the chart repaints the cross-hair's old and new columns,
// not the whole chart.
#include <gtest/gtest.h>

#include <QPaintEvent>

#include "ChartTestApp.h"

namespace orx {
namespace {

// Collects the regions the chart is asked to paint.
struct PaintRecorder : QObject {
  QRegion painted;
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      painted += static_cast<QPaintEvent*>(event)->region();
      ++paints;
    }
    return false;
  }
};

int Area(const QRegion& region) {
  int area = 0;
  for (const QRect& r : region) area += r.width() * r.height();
  return area;
}

TEST(ChartRepaint, MouseMoveRepaintsOnlyTheCrossHairColumns) {
  test::SimpleChart c(800, 500);
  c.chart.AddCrossHair(false, false);
  c.chart.show();
  test::pumpUntil([] { return false; }, 100);
  const ChartRect plot = c.chart.GetPlottingRect();
  const int y = (plot.top + plot.bottom) / 2;
  test::moveMouse(c.chart, QPoint(300, y));
  test::pumpUntil([] { return false; }, 50);

  PaintRecorder recorder;
  c.chart.installEventFilter(&recorder);
  test::moveMouse(c.chart, QPoint(420, y));
  test::pumpUntil([&] { return recorder.paints > 0; }, 1000);
  c.chart.removeEventFilter(&recorder);

  ASSERT_GT(recorder.paints, 0);
  EXPECT_TRUE(recorder.painted.contains(QPoint(300, y))) << "the old line is painted over";
  EXPECT_TRUE(recorder.painted.contains(QPoint(420, y))) << "the new line is drawn";
  EXPECT_FALSE(recorder.painted.contains(QPoint(360, y)));
  EXPECT_LE(Area(recorder.painted), 2 * (plot.bottom - plot.top + 1));
  EXPECT_EQ(c.chart.GetCrossHair()->LastX(), 420);

  // A hidden cross-hair still has its last line painted over on the next move.
  c.chart.GetCrossHair()->SetShown(false);
  recorder.painted = QRegion();
  recorder.paints = 0;
  c.chart.installEventFilter(&recorder);
  test::moveMouse(c.chart, QPoint(500, y));
  test::pumpUntil([&] { return recorder.paints > 0; }, 1000);
  EXPECT_TRUE(recorder.painted.contains(QPoint(420, y)));
  EXPECT_FALSE(recorder.painted.contains(QPoint(500, y)));
}

TEST(ChartRepaint, NearMoveRepaintsOneNarrowRectangle) {
  test::SimpleChart c(800, 500);
  c.chart.AddCrossHair(false, false);
  c.chart.show();
  test::pumpUntil([] { return false; }, 100);
  const ChartRect plot = c.chart.GetPlottingRect();
  const int y = (plot.top + plot.bottom) / 2;
  test::moveMouse(c.chart, QPoint(300, y));
  test::pumpUntil([] { return false; }, 50);

  PaintRecorder recorder;
  c.chart.installEventFilter(&recorder);
  test::moveMouse(c.chart, QPoint(303, y));
  test::pumpUntil([&] { return recorder.paints > 0; }, 1000);
  c.chart.removeEventFilter(&recorder);
  ASSERT_GT(recorder.paints, 0);
  EXPECT_EQ(recorder.painted.rectCount(), 1);
  EXPECT_EQ(recorder.painted.boundingRect(), QRect(QPoint(300, plot.top), QPoint(303, plot.bottom)));
}

}  // namespace
}  // namespace orx
