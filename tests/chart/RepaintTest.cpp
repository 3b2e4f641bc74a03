// A mouse move over the chart repaints the cross-hair's old and new columns,
// not the whole chart.
#include <gtest/gtest.h>

#include <QBackingStore>
#include <QPaintEvent>
#include <QPainter>

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

// What the window shows after a move: the chart's picture with the line drawn
// on it by the painter, wherever the chart sits in its window, for a line the
// chart draws by hand (opaque) and one it leaves to the painter (translucent).
TEST(ChartRepaint, WindowShowsThePictureWithTheLine) {
  test::qtApp();
  QWidget window;  // first, so the chart leaves it before it goes
  test::SimpleChart c(600, 400);
  c.chart.setParent(&window);
  c.chart.move(7, 11);
  window.resize(620, 420);
  CChartCrossHairCursor* line = c.chart.AddCrossHair(false, false);
  PaintRecorder recorder;
  c.chart.installEventFilter(&recorder);
  window.show();
  ASSERT_TRUE(test::pumpUntil([&] { return recorder.paints > 0; }, 2000));
  const ChartRect plot = c.chart.GetPlottingRect();
  const int y = (plot.top + plot.bottom) / 2;
  for (const QColor colour : {QColor(200, 30, 40), QColor(0, 0, 255, 100)}) {
    line->SetColor(colour);
    for (int x : {300, 303, 420}) {
      const int before = recorder.paints;
      test::moveMouse(c.chart, QPoint(x, y));
      ASSERT_TRUE(test::pumpUntil([&] { return recorder.paints > before; }, 2000));
      QImage expected = c.chart.RenderedImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
      QPainter painter(&expected);
      painter.setPen(QPen(colour, 1));
      painter.drawLine(x, plot.top, x, plot.bottom);
      painter.end();
      QPaintDevice* device = window.backingStore()->paintDevice();
      ASSERT_EQ(device->devType(), QInternal::Image);
      const QImage shown = static_cast<QImage*>(device)->copy(QRect(QPoint(7, 11), expected.size()));
      EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied), expected)
          << "alpha " << colour.alpha() << ", line at " << x;
    }
  }
}

}  // namespace
}  // namespace orx
