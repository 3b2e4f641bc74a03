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

// A shown chart with a cross-hair, the mouse already at `from` on the middle row.
struct CrossHairChart {
  test::SimpleChart c{800, 500};
  ChartRect plot;
  int y = 0;
  explicit CrossHairChart(int from) {
    c.chart.AddCrossHair(false, false);
    c.chart.show();
    test::pumpUntil([] { return false; }, 100);
    plot = c.chart.GetPlottingRect();
    y = (plot.top + plot.bottom) / 2;
    test::moveMouse(c.chart, QPoint(from, y));
    test::pumpUntil([] { return false; }, 50);
  }
  // What the chart paints for a move to `to`.
  QRegion moveTo(int to) {
    PaintRecorder recorder;
    c.chart.installEventFilter(&recorder);
    test::moveMouse(c.chart, QPoint(to, y));
    test::pumpUntil([&] { return recorder.paints > 0; }, 1000);
    c.chart.removeEventFilter(&recorder);
    EXPECT_GT(recorder.paints, 0);
    return recorder.painted;
  }
};

TEST(ChartRepaint, MouseMoveRepaintsOnlyTheCrossHairColumns) {
  CrossHairChart h(300);
  const QRegion painted = h.moveTo(420);
  EXPECT_TRUE(painted.contains(QPoint(300, h.y))) << "the old line is painted over";
  EXPECT_TRUE(painted.contains(QPoint(420, h.y))) << "the new line is drawn";
  EXPECT_FALSE(painted.contains(QPoint(360, h.y)));
  EXPECT_LE(Area(painted), 2 * (h.plot.bottom - h.plot.top + 1));
  EXPECT_EQ(h.c.chart.GetCrossHair()->LastX(), 420);

  // A hidden cross-hair still has its last line painted over on the next move.
  h.c.chart.GetCrossHair()->SetShown(false);
  const QRegion hidden = h.moveTo(500);
  EXPECT_TRUE(hidden.contains(QPoint(420, h.y)));
  EXPECT_FALSE(hidden.contains(QPoint(500, h.y)));
}

TEST(ChartRepaint, NearMoveRepaintsOneNarrowRectangle) {
  CrossHairChart h(300);
  const QRegion painted = h.moveTo(303);
  EXPECT_EQ(painted.rectCount(), 1);
  EXPECT_EQ(painted.boundingRect(), QRect(QPoint(300, h.plot.top), QPoint(303, h.plot.bottom)));
}

}  // namespace
}  // namespace orx
