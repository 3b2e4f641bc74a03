// Habits of plotting tools in the data log window: the mouse wheel and a
// double-click on the chart, PNG and SVG export, saves named on the status
// line, and saved logs viewed with any ESC plugged in.
#include <gtest/gtest.h>

#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "datalog/LogTexts.h"
#include "GraphRig.h"

namespace orx::test {
namespace {

using namespace orx::graph;

void wheel(CChartCtrl& chart, QPoint at, int delta, Qt::KeyboardModifiers keys = Qt::NoModifier) {
  QWheelEvent e(QPointF(at), chart.mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton, keys,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(&chart, &e);
}

void doubleClick(CChartCtrl& chart, QPoint at) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                            QEvent::MouseButtonRelease}) {
    const bool down = type != QEvent::MouseButtonRelease;
    QMouseEvent e(type, QPointF(at), chart.mapToGlobal(QPointF(at)), Qt::LeftButton,
                  down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &e);
  }
}

TEST(GraphHabits, WheelZoomsAroundThePointerAndDoubleClickResets) {
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  chart.RenderedImage();
  const ChartRect& p = chart.GetPlottingRect();
  const QPoint at(p.left + p.Width() / 4, p.top + p.Height() / 2);
  const CChartAxis& time = *chart.GetAxis(1);
  const CChartAxis& throttle = *chart.GetAxis(2);
  const double pointed = time.PixelToValue(at.x());
  const double span = time.GetMax() - time.GetMin();

  wheel(chart, at, 120);
  chart.RenderedImage();
  EXPECT_NEAR(time.GetMax() - time.GetMin(), span * 0.8, span * 1e-9);
  EXPECT_NEAR(time.PixelToValue(at.x()), pointed, span / 500);  // within a pixel or two
  EXPECT_DOUBLE_EQ(throttle.GetMax() - throttle.GetMin(), 1400);  // time only
  wheel(chart, at, 240, Qt::ControlModifier);
  chart.RenderedImage();
  EXPECT_NEAR(throttle.GetMax() - throttle.GetMin(), 1400 * 0.64, 1e-6);
  EXPECT_LE(worstMisfit(rig.window), 2);  // the curves follow their axes

  wheel(chart, at, -120 * 30, Qt::ControlModifier);  // out as far as it goes: the whole picture
  EXPECT_DOUBLE_EQ(time.GetMax() - time.GetMin(), span);
  EXPECT_DOUBLE_EQ(throttle.GetMin(), 800);

  wheel(chart, at, 360, Qt::ControlModifier);
  doubleClick(chart, at);
  EXPECT_DOUBLE_EQ(time.GetMax() - time.GetMin(), span);
  EXPECT_DOUBLE_EQ(throttle.GetMax(), 2200);
  EXPECT_FALSE(chart.IsZoomDragging());
}

TEST(GraphHabits, ExportWritesPngAndSvgAtTheChartsSizeAndNamesThemOnTheStatusLine) {
  QTemporaryDir dir;
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  CChartCtrl& chart = rig.window.chart();
  const QImage drawn = chart.RenderImage(ChartRect{}).convertToFormat(QImage::Format_RGB32);
  rig.files.answers = {dir.filePath("chart.png").toStdString(), dir.filePath("chart.svg").toStdString()};
  rig.window.command(gcmd::kExportImage);
  EXPECT_EQ(rig.window.statusText(), "Image saved: chart.png");
  rig.window.command(gcmd::kExportImage);
  EXPECT_EQ(rig.window.statusText(), "Image saved: chart.svg");
  EXPECT_EQ(rig.files.requests.at(0).folder, "image");

  const QImage png(dir.filePath("chart.png"));
  EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), drawn);  // lossless: every pixel

  QSvgRenderer svg(dir.filePath("chart.svg"));
  ASSERT_TRUE(svg.isValid());
  ASSERT_EQ(svg.viewBox(), QRect(QPoint(0, 0), chart.size()));
  QImage vector(chart.size(), QImage::Format_RGB32);
  vector.fill(Qt::black);
  QPainter painter(&vector);
  svg.render(&painter);
  painter.end();
  // Known pixels: the black top edge of the plot above the middle, where no
  // curve comes near, and the white background.
  chart.RenderedImage();
  const ChartRect& plot = chart.GetPlottingRect();
  const QPoint edge((plot.left + plot.right) / 2, plot.top - 1);
  EXPECT_EQ(drawn.pixelColor(edge), QColor(Qt::black));
  EXPECT_LT(std::min(qGray(vector.pixel(edge)), qGray(vector.pixel(edge - QPoint(0, 1)))), 160);  // antialiased
  EXPECT_EQ(vector.pixelColor(5, 5), QColor(Qt::white));
  // The same lines and text: about as many dark pixels in both.
  auto dark = [](const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 128;
    return n;
  };
  EXPECT_NEAR(dark(vector), dark(drawn), dark(drawn) / 3);  // antialiasing lightens thin lines
}

TEST(GraphHabits, SavedLogIsNamedAndAnyEscLetsTheWindowWorkButReadAndClearRefuseOneWithoutLog) {
  QTemporaryDir dir;
  GraphRig rig;
  rig.window.receiveLog(generatedRecords());
  rig.onDialog([](QDialog&) { return int(QDialog::Accepted); });
  rig.files.answers = {dir.filePath("flight").toStdString() + ".csv"};
  rig.window.command(gcmd::kSaveData);
  EXPECT_EQ(rig.window.statusText(), "Log saved: flight.csv");

  rig.source.firmware = "C1.0";
  rig.window.command(gid::kReadButton);
  rig.window.command(gid::kClearButton);
  EXPECT_EQ(rig.source.downloads.load(), 0);
  EXPECT_EQ(rig.source.clears.load(), 0);
  ASSERT_EQ(rig.prompter.shown.size(), 2u);
  EXPECT_EQ(rig.prompter.shown[0].text, datalog::text::notNvqSeries().text);
}

}  // namespace
}  // namespace orx::test
