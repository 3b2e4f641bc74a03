// Pixels of the rendered chart at places the layout fixes.
#include <gtest/gtest.h>

#include "ChartTestApp.h"

namespace orx {
namespace {

using test::SimpleChart;

QColor At(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

bool NearColour(const QImage& img, int x, int y, QColor c, int radius = 1) {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (At(img, x + dx, y + dy) == c) return true;
  return false;
}

TEST(ChartRender, SeriesLineCrossesTheExpectedPixels) {
  SimpleChart c;
  CChartLineSerie* flat = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  CChartLineSerie* rising = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  ASSERT_TRUE(flat && rising);
  const double xs[] = {0, 100}, flatY[] = {50, 50}, riseY[] = {0, 100};
  flat->SetPoints(xs, flatY, 2);
  flat->SetColor(QColor(255, 0, 0));
  rising->SetPoints(xs, riseY, 2);
  rising->SetColor(QColor(0, 0, 255));
  const QImage& img = c.chart.RenderedImage();
  const int y50 = c.left->ValueToPixel(50);
  const int x20 = c.bottom->ValueToPixel(20);
  EXPECT_EQ(At(img, x20, y50), QColor(255, 0, 0));
  EXPECT_EQ(At(img, x20, y50 - 3), QColor(Qt::white));
  EXPECT_TRUE(NearColour(img, c.bottom->ValueToPixel(30), c.left->ValueToPixel(30), QColor(0, 0, 255)));
  EXPECT_TRUE(NearColour(img, c.bottom->ValueToPixel(80), c.left->ValueToPixel(80), QColor(0, 0, 255)));
  EXPECT_EQ(At(img, c.bottom->ValueToPixel(80), c.left->ValueToPixel(20)), QColor(Qt::white));
  // A hidden series leaves the plot white.
  flat->SetShown(false);
  EXPECT_EQ(At(c.chart.RenderedImage(), x20, y50), QColor(Qt::white));
}

TEST(ChartRender, GridDashesInTheGridColour) {
  SimpleChart c;
  c.left->GetGrid()->SetShown(true);
  c.left->GetGrid()->SetColor(QColor(0, 160, 0));
  c.bottom->GetGrid()->SetShown(true);
  c.bottom->GetGrid()->SetColor(QColor(160, 0, 160));
  const QImage& img = c.chart.RenderedImage();
  const ChartRect plot = c.chart.GetPlottingRect();
  const int y = c.left->ValueToPixel(40);  // a tick of 0..100
  ASSERT_NE(std::find(c.left->GetGrid()->Ticks().begin(), c.left->GetGrid()->Ticks().end(), y),
            c.left->GetGrid()->Ticks().end());
  EXPECT_EQ(At(img, plot.left + 1, y), QColor(0, 160, 0));
  EXPECT_EQ(At(img, plot.left + 2, y), QColor(0, 160, 0));
  EXPECT_EQ(At(img, plot.left + 4, y), QColor(Qt::white));  // the gap of the dash
  EXPECT_EQ(At(img, plot.left + 7, y), QColor(0, 160, 0));
  const int x = c.bottom->ValueToPixel(50);
  EXPECT_EQ(At(img, x, plot.bottom - 1), QColor(160, 0, 160));
  EXPECT_EQ(At(img, x, plot.bottom - 4), QColor(Qt::white));
  EXPECT_EQ(At(img, x, plot.bottom - 7), QColor(160, 0, 160));
}

TEST(ChartRender, PlotOutlineInTheBorderColour) {
  SimpleChart c;
  const ChartRect plot = c.chart.GetPlottingRect();
  const int midY = (plot.top + plot.bottom) / 2;
  const int midX = (plot.left + plot.right) / 2;
  EXPECT_EQ(At(c.chart.RenderedImage(), plot.right, midY), QColor(Qt::black));
  c.chart.SetBorderColor(QColor(0, 0, 200));
  const QImage& img = c.chart.RenderedImage();
  EXPECT_EQ(At(img, plot.right, midY), QColor(0, 0, 200));
  EXPECT_EQ(At(img, midX, plot.top), QColor(0, 0, 200));
  EXPECT_EQ(At(img, midX, midY), QColor(Qt::white));
  EXPECT_EQ(plot.top, 5);
}

TEST(ChartRender, EmptyRangeDrawsOneTickInTheMiddle) {
  SimpleChart c;
  c.left->SetRange(5, 5);
  c.chart.RenderedImage();
  ASSERT_EQ(c.left->GetGrid()->Ticks().size(), 1u);
  EXPECT_EQ(c.left->GetGrid()->Ticks()[0], AxisMiddlePixel(c.left->Scale()));
  EXPECT_EQ(c.left->ValueToPixel(123), AxisMiddlePixel(c.left->Scale()));
}

TEST(ChartRender, LabelShiftsWidenThePlot) {
  SimpleChart plain;
  SimpleChart shifted;
  plain.chart.CreateAxis(kRightAxis)->SetRange(0, 1);
  shifted.chart.CreateAxis(kRightAxis)->SetRange(0, 1);
  shifted.chart.SetLeftLabelShift(-100);
  shifted.chart.SetRightLabelShift(100);
  plain.chart.RenderedImage();
  shifted.chart.RenderedImage();
  EXPECT_EQ(shifted.chart.GetPlottingRect().left, plain.chart.GetPlottingRect().left - 100);
  EXPECT_EQ(shifted.chart.GetPlottingRect().right, plain.chart.GetPlottingRect().right + 100);
}

TEST(ChartRender, ExtraAxesStandFiftyPixelsApart) {
  test::qtApp();
  CChartCtrl chart;
  chart.resize(1220, 560);
  chart.EnableRedraw(false);
  chart.SetBackColor(Qt::white);
  chart.SetLeftLabelShift(-100);
  chart.SetRightLabelShift(100);
  const QColor colours[] = {QColor(0, 200, 0), QColor(10, 10, 10), QColor(255, 51, 255), QColor(20, 20, 20),
                            QColor(0, 0, 128), QColor(128, 0, 0), QColor(127, 0, 255), QColor(0, 0, 102),
                            QColor(255, 153, 153), QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 128, 128),
                            QColor(102, 0, 204), QColor(30, 30, 30), QColor(40, 40, 40)};
  for (int slot = 0; slot < kAxisSlotCount; ++slot) {
    CChartAxis* axis = slot < 4 ? chart.CreateAxis(slot) : chart.CreateExtraAxis(slot);
    ASSERT_NE(axis, nullptr);
    axis->SetRange(0, 100);
    axis->SetLineColor(colours[slot]);
    axis->GetGrid()->SetShown(false);
    axis->GetTitle()->SetText("Axis title");
  }
  for (int slot : {7, 8, 12, 13, 14}) chart.GetAxis(slot)->SetShown(false);
  chart.EnableRedraw(true);
  const QImage& img = chart.RenderedImage();
  const ChartRect plot = chart.GetPlottingRect();
  ASSERT_GT(plot.left, 160);  // room for slots 0, 4, 5 and 6; 7 and 8 are hidden
  ASSERT_LE(plot.right, 1220 - 200);  // room for slots 2, 9, 10 and 11
  const int y = (plot.top + plot.bottom) / 2 + 3;
  EXPECT_EQ(At(img, plot.left - 1, y), colours[0]);
  EXPECT_EQ(At(img, plot.left - 50, y), colours[4]);
  EXPECT_EQ(At(img, plot.left - 100, y), colours[5]);
  EXPECT_EQ(At(img, plot.left - 150, y), colours[6]);
  EXPECT_EQ(At(img, plot.right + 1, y), colours[2]);
  EXPECT_EQ(At(img, plot.right + 50, y), colours[9]);
  EXPECT_EQ(At(img, plot.right + 150, y), colours[11]);
  EXPECT_EQ(At(img, plot.left - 200, y), QColor(Qt::white));  // slot 7 is hidden
  EXPECT_EQ(At(img, (plot.left + plot.right) / 2, plot.bottom + 1), colours[1]);
}

TEST(ChartRedraw, ManyChangesRenderOnce) {
  SimpleChart c;
  CChartLineSerie* s = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  c.chart.RenderedImage();
  const int before = c.chart.RenderCount();
  std::vector<double> xs{0}, ys{0};
  for (int i = 1; i < 200; ++i) {  // data arriving piece by piece
    xs.push_back(i * 0.5);
    ys.push_back(i % 100);
    s->SetPoints(xs.data(), ys.data(), static_cast<unsigned>(xs.size()));
    c.left->SetLineColor(QColor(i, 0, 0));
  }
  c.chart.RenderedImage();
  c.chart.RenderedImage();
  EXPECT_EQ(c.chart.RenderCount(), before + 1);
}

TEST(ChartRedraw, HoldDefersTheRedrawUntilReleased) {
  SimpleChart c;
  const int before = c.chart.RenderCount();
  c.chart.EnableRedraw(false);
  c.chart.EnableRedraw(false);  // nested holds
  c.left->SetRange(0, 1000);
  c.chart.RenderedImage();
  EXPECT_EQ(c.chart.RenderCount(), before);
  c.chart.EnableRedraw(true);
  c.chart.RenderedImage();
  EXPECT_EQ(c.chart.RenderCount(), before);  // still held once
  c.chart.EnableRedraw(true);
  c.chart.RenderedImage();
  EXPECT_EQ(c.chart.RenderCount(), before + 1);
  EXPECT_EQ(c.left->GetGrid()->Ticks().back(), c.chart.GetPlottingRect().top);  // laid out for 0..1000
  EXPECT_EQ(c.left->TickLabel(1000), "1000");
}

TEST(ChartSeriesMap, ClearAndFindByName) {
  SimpleChart c;
  EXPECT_EQ(c.chart.AddLineSeries(kBottomAxis, 9), nullptr);  // no axis in slot 9
  CChartLineSerie* a = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  CChartLineSerie* b = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  a->SetName("TE");
  b->SetName("RP");
  EXPECT_EQ(a->GetColor(), QColor(255, 0, 0));
  EXPECT_EQ(b->GetColor(), QColor(0, 150, 0));
  EXPECT_EQ(c.chart.FindSerie("RP"), b);
  ASSERT_EQ(c.chart.Series().size(), 2u);
  EXPECT_LT(c.chart.Series()[0]->GetSerieId(), c.chart.Series()[1]->GetSerieId());
  c.chart.ClearSeries();
  EXPECT_TRUE(c.chart.Series().empty());
  EXPECT_TRUE(c.left->Series().empty());  // the axes forget them too
  // Replacing an axis that series use leaves them without it, not dangling.
  CChartLineSerie* d = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  c.chart.CreateAxis(kLeftAxis)->SetRange(0, 10);
  EXPECT_EQ(d->GetVerticalAxis(), nullptr);
  c.chart.RenderedImage();
}

}  // namespace
}  // namespace orx
