// The wheel and the double-click on the chart, PNG and SVG export named on
// the status line, and a window that works with any ESC.
#include <gtest/gtest.h>

#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "GraphRig.h"

namespace orx::test {
namespace {

using namespace orx::graph;

void wheel(CChartCtrl& chart, QPoint at, int delta, Qt::KeyboardModifiers keys = Qt::NoModifier) {
  QWheelEvent e(at, chart.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, keys, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&chart, &e);
}

TEST(GraphHabits, WheelZoomsAroundThePointerCtrlEveryAxisDoubleClickResets) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  const ChartRect p = (chart.RenderedImage(), chart.GetPlottingRect());
  const QPoint at(p.left + p.Width() / 4, p.top + p.Height() / 2);
  const CChartAxis& time = *chart.GetAxis(1);
  const CChartAxis& throttle = *chart.GetAxis(2);
  const double pointed = time.PixelToValue(at.x()), span = time.GetMax() - time.GetMin();
  wheel(chart, at, 120);
  EXPECT_NEAR(time.GetMax() - time.GetMin(), span * 0.8, 1e-9);
  EXPECT_NEAR((chart.RenderedImage(), time.PixelToValue(at.x())), pointed, span / 500);
  EXPECT_DOUBLE_EQ(throttle.GetMin(), 800);
  wheel(chart, at, 240, Qt::ControlModifier);
  EXPECT_NEAR(throttle.GetMax() - throttle.GetMin(), 1400 * 0.64, 1e-6);
  EXPECT_LE(worstMisfit(rig.window), 2);
  wheel(chart, at, -120 * 30, Qt::ControlModifier);  // out no further than the whole
  EXPECT_DOUBLE_EQ(throttle.GetMin(), 800);
  wheel(chart, at, 360, Qt::ControlModifier);
  for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick})
    mouse(chart, type, at, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton);
  mouse(chart, QEvent::MouseButtonRelease, at);
  EXPECT_DOUBLE_EQ(time.GetMax() - time.GetMin(), span);
  EXPECT_DOUBLE_EQ(throttle.GetMax(), 2200);
}

TEST(GraphHabits, PngAndSvgReadBackAsTheChartAndAreNamedOnTheStatusLine) {
  QTemporaryDir dir;
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  const QImage drawn = chart.RenderImage(ChartRect{}).convertToFormat(QImage::Format_RGB32);
  rig.files.answers = {dir.filePath("chart.png").toStdString(), dir.filePath("chart.svg").toStdString()};
  rig.window.command(gcmd::kExportImage);
  EXPECT_EQ(QImage(dir.filePath("chart.png")).convertToFormat(QImage::Format_RGB32), drawn);  // every pixel
  rig.window.command(gcmd::kExportImage);
  EXPECT_EQ(rig.window.statusText(), "Image saved: chart.svg");
  QSvgRenderer svg(dir.filePath("chart.svg"));
  ASSERT_EQ(svg.viewBox(), QRect(QPoint(0, 0), chart.size()));
  QImage vector(chart.size(), QImage::Format_RGB32);
  QPainter painter(&vector);
  svg.render(&painter);
  // Known pixels: the white background, and the black top edge of the plot
  // (antialiased over two rows in the vector drawing).
  const QPoint edge((chart.GetPlottingRect().left + chart.GetPlottingRect().right) / 2, chart.GetPlottingRect().top - 1);
  EXPECT_EQ(drawn.pixelColor(edge), QColor(Qt::black));
  EXPECT_LT(std::min(qGray(vector.pixel(edge)), qGray(vector.pixel(edge - QPoint(0, 1)))), 160);
  EXPECT_EQ(vector.pixelColor(5, 5), QColor(Qt::white));
}

TEST(GraphHabits, AnyEscOpensTheWindowButOneWithoutLogIsRefusedByReadAndClear) {
  GraphRig rig;
  rig.source.firmware = "C1.0";
  rig.window.command(gid::kReadButton);
  rig.window.command(gid::kClearButton);
  EXPECT_EQ(rig.source.downloads + rig.source.clears, 0);
  EXPECT_EQ(rig.prompter.shown.size(), 2u);
}

}  // namespace
}  // namespace orx::test
