// The bitmap writer, the image file, the printout and the clipboard.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QPrinter>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "ChartTestApp.h"
#include "chart/BmpWriter.h"
#include "tests/support/TempDir.h"

namespace orx {
namespace {

uint32_t U32(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 | static_cast<uint8_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

QImage ThreeByTwo() {
  QImage img(3, 2, QImage::Format_RGB32);
  img.setPixelColor(0, 0, QColor(1, 2, 3));
  img.setPixelColor(1, 0, QColor(4, 5, 6));
  img.setPixelColor(2, 0, QColor(7, 8, 9));
  img.setPixelColor(0, 1, QColor(10, 11, 12));
  img.setPixelColor(1, 1, QColor(13, 14, 15));
  img.setPixelColor(2, 1, QColor(16, 17, 18));
  return img;
}

TEST(BmpWriter, ThirtyTwoBitHeaderAndBottomUpPixels) {
  const std::string b = EncodeBmp(ThreeByTwo(), 32);
  ASSERT_EQ(b.size(), 54u + 24u);
  EXPECT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(U32(b, 2), 78u);   // file size
  EXPECT_EQ(U32(b, 6), 0u);    // reserved
  EXPECT_EQ(U32(b, 10), 54u);  // pixel offset
  EXPECT_EQ(U32(b, 14), 40u);  // info header size
  EXPECT_EQ(U32(b, 18), 3u);
  EXPECT_EQ(U32(b, 22), 2u);  // positive height: bottom row first
  EXPECT_EQ(U16(b, 26), 1u);
  EXPECT_EQ(U16(b, 28), 32u);
  EXPECT_EQ(U32(b, 30), 0u);  // no compression
  EXPECT_EQ(U32(b, 34), 24u);
  EXPECT_EQ(U32(b, 38), 3780u);
  const std::string bottomRowFirst("\x0C\x0B\x0A\xFF\x0F\x0E\x0D\xFF\x12\x11\x10\xFF", 12);
  EXPECT_EQ(b.substr(54, 12), bottomRowFirst);
  EXPECT_EQ(b.substr(66, 4), std::string("\x03\x02\x01\xFF", 4));
}

TEST(BmpWriter, TwentyFourBitRowsArePaddedAndOtherDepthsRefused) {
  const std::string b = EncodeBmp(ThreeByTwo(), 24);
  ASSERT_EQ(b.size(), 54u + 2 * 12u);  // 9 bytes of pixels + 3 of padding per row
  EXPECT_EQ(U16(b, 28), 24u);
  EXPECT_EQ(b.substr(54, 12), std::string("\x0C\x0B\x0A\x0F\x0E\x0D\x12\x11\x10\0\0\0", 12));
  EXPECT_TRUE(EncodeBmp(ThreeByTwo(), 16).empty());
  EXPECT_TRUE(EncodeBmp(QImage(), 32).empty());
}

TEST(ChartImageFile, SavedBitmapIsTheRenderedChart) {
  test::SimpleChart c(640, 400);
  QTemporaryDir dir;
  const std::string path = dir.filePath("graph.bmp").toStdString();
  ASSERT_EQ(c.chart.SaveImage(path, {}, 32, ImageEncoder::Bmp), ImageSaveResult::Saved);
  const std::string b = test::readFile(path);
  ASSERT_EQ(b.size(), 54u + 640u * 400u * 4u);
  EXPECT_EQ(U32(b, 18), 640u);
  EXPECT_EQ(U32(b, 22), 400u);
  // Pixel at the plot's right edge, middle row: the black outline.
  const ChartRect plot = c.chart.GetPlottingRect();
  const int y = (plot.top + plot.bottom) / 2;
  const size_t at = 54 + (static_cast<size_t>(399 - y) * 640 + plot.right) * 4;
  EXPECT_EQ(b.substr(at, 4), std::string("\0\0\0\xFF", 4));
  const size_t inside = 54 + (static_cast<size_t>(399 - y) * 640 + plot.right - 5) * 4;
  EXPECT_EQ(b.substr(inside, 4), std::string("\xFF\xFF\xFF\xFF", 4));
}

TEST(ChartImageFile, FailedWriteIsReportedAndLeavesNothing) {
  test::SimpleChart c(200, 150);
  QTemporaryDir dir;
  const std::string path = dir.filePath("missing/graph.bmp").toStdString();
  EXPECT_EQ(c.chart.SaveImage(path, {}, 32, ImageEncoder::Bmp), ImageSaveResult::WriteFailed);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  EXPECT_EQ(c.chart.SaveImage(dir.filePath("x.bmp").toStdString(), {}, 8, ImageEncoder::Bmp),
            ImageSaveResult::UnsupportedFormat);
  // A smaller rectangle gives a smaller picture; the screen layout comes back.
  const ChartRect before = c.chart.GetPlottingRect();
  EXPECT_EQ(c.chart.RenderImage({0, 0, 120, 90}).size(), QSize(120, 90));
  c.chart.RenderedImage();
  EXPECT_EQ(c.chart.GetPlottingRect(), before);
}

TEST(ChartPrint, OnePagePdfAndTheScreenLayoutRestored) {
  test::SimpleChart c;
  auto* s = c.chart.AddLineSeries(kBottomAxis, kLeftAxis);
  const double xs[] = {0, 100}, ys[] = {0, 100};
  s->SetPoints(xs, ys, 2);
  c.chart.RenderedImage();
  const ChartRect before = c.chart.GetPlottingRect();
  QTemporaryDir dir;
  const QString path = dir.filePath("chart.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  ASSERT_TRUE(c.chart.PrintChartTo(printer, "ESC Data log"));
  const std::string pdf = test::readFile(path.toStdString());
  ASSERT_GT(pdf.size(), 1000u);
  EXPECT_EQ(pdf.substr(0, 4), "%PDF");
  c.chart.RenderedImage();
  EXPECT_EQ(c.chart.GetPlottingRect(), before);
}

TEST(ChartClipboard, CopiesThePicture) {
  test::SimpleChart c(300, 200);
  c.chart.CopyToClipboard();
  const QImage copied = QGuiApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), QSize(300, 200));
}

}  // namespace
}  // namespace orx
