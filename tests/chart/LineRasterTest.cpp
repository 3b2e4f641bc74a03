// Lines drawn by hand into a picture's pixels, against the painter's.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <random>

#include "ChartTestApp.h"
#include "chart/LineRaster.h"

namespace orx {
namespace {

RasterTarget WholeOf(QImage& image) {
  return {reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, 0, 0, image.width() - 1,
          image.height() - 1};
}

// Every direction, every slope up to 40 pixels each way, both ends: the
// pixels the painter lights for the same line drawn alone. (A line of no
// length is left out: the painter draws a dot for it alone, nothing for it
// within a polyline, and a curve's runs never hold one.)
TEST(LineRaster, LoneSegmentsLightThePaintersPixels) {
  test::AppFirst app;
  QImage byPainter(100, 100, QImage::Format_RGB32), byHand(100, 100, QImage::Format_RGB32);
  QPen pen(Qt::black, 0);
  pen.setCosmetic(true);
  int differing = 0;
  for (int dx = -40; dx <= 40; ++dx)
    for (int dy = -40; dy <= 40; ++dy) {
      if (dx == 0 && dy == 0) continue;
      byPainter.fill(Qt::white);
      byHand.fill(Qt::white);
      {
        QPainter painter(&byPainter);
        painter.setPen(pen);
        painter.drawLine(50, 50, 50 + dx, 50 + dy);
      }
      LineRaster(WholeOf(byHand), 0xff000000u).Segment(50, 50, 50 + dx, 50 + dy);
      if (byPainter != byHand && ++differing <= 3) ADD_FAILURE() << "line from (50,50) by (" << dx << "," << dy << ")";
    }
  EXPECT_EQ(differing, 0);
}

// A line through a window of the picture lights inside it what it lights
// when the whole picture may be drawn on, and nothing outside; vertices far
// off the picture (a deep zoom) included.
TEST(LineRaster, LinesAreCutAtTheTargetsEdges) {
  test::AppFirst app;
  QImage whole(300, 240, QImage::Format_RGB32), cut(300, 240, QImage::Format_RGB32), expected = cut;
  const QRect window(110, 90, 50, 30);
  std::mt19937 random(5);
  auto coordinate = [&](int size) {
    const int pick = static_cast<int>(random() % 10);
    return pick == 0 ? -10'000'000 : pick == 1 ? 10'000'000 : static_cast<int>(random() % (size + 200)) - 100;
  };
  for (int i = 0; i < 400; ++i) {
    const int x0 = coordinate(300), y0 = coordinate(240), x1 = coordinate(300), y1 = coordinate(240);
    for (QImage* image : {&whole, &cut, &expected}) image->fill(Qt::white);
    LineRaster(WholeOf(whole), 0xff000000u).Segment(x0, y0, x1, y1);
    RasterTarget target = WholeOf(cut);
    target.left = window.left(), target.top = window.top(), target.right = window.right(),
    target.bottom = window.bottom();
    LineRaster(target, 0xff000000u).Segment(x0, y0, x1, y1);
    QPainter(&expected).drawImage(window.topLeft(), whole, window);
    ASSERT_EQ(cut, expected) << "(" << x0 << "," << y0 << ") to (" << x1 << "," << y1 << ")";
  }
}

// A polyline is its segments: one span a column where vertices share it.
TEST(LineRaster, PolylineIsTheUnionOfItsSegments) {
  test::AppFirst app;
  QImage together(120, 120, QImage::Format_RGB32), apart(120, 120, QImage::Format_RGB32);
  std::mt19937 random(9);
  for (int round = 0; round < 50; ++round) {
    std::vector<QPoint> points;
    int x = 10;
    for (int i = 0; i < 40; ++i) {
      x += static_cast<int>(random() % 3) - (i % 5 == 0 ? 1 : 0);  // columns of several vertices, and back-steps
      points.emplace_back(std::clamp(x, 0, 119), static_cast<int>(random() % 120));
    }
    together.fill(Qt::white);
    apart.fill(Qt::white);
    LineRaster(WholeOf(together), 0xff000000u).Polyline(points.data(), points.size());
    LineRaster joined(WholeOf(apart), 0xff000000u);
    for (size_t i = 0; i + 1 < points.size(); ++i)
      joined.Segment(points[i].x(), points[i].y(), points[i + 1].x(), points[i + 1].y());
    ASSERT_EQ(together, apart) << "round " << round;
  }
}

}  // namespace
}  // namespace orx
