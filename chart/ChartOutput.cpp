// The chart leaving the screen: printout, image files and clipboard.
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSvgGenerator>

#include "chart/BmpWriter.h"
#include "chart/ChartCtrl.h"
#include "settingsfile/AtomicFile.h"

namespace orx {

void SetUpPrintDialog(QPrintDialog& dialog) {
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
}

PrintResult CChartCtrl::PrintChart(const std::string& title, QPrintDialog* dialog) {
  if (dialog) {
    if (!dialog->printer()) return PrintResult::Failed;
    return PrintChartTo(*dialog->printer(), title) ? PrintResult::Printed : PrintResult::Failed;
  }
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog ask(&printer, this);
  SetUpPrintDialog(ask);
  if (ask.exec() != QDialog::Accepted) return PrintResult::Cancelled;
  return PrintChartTo(printer, title) ? PrintResult::Printed : PrintResult::Failed;
}

bool CChartCtrl::PrintChartTo(QPrinter& printer, const std::string& title) {
  printer.setDocName(ChartText(title));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const int pageWidth = printer.width();
  const int pageHeight = printer.height();
  const int printerDpiX = printer.logicalDpiX() > 0 ? printer.logicalDpiX() : 1;
  const int printerDpiY = printer.logicalDpiY() > 0 ? printer.logicalDpiY() : 1;
  // The chart is laid out at three quarters of the page's size in screen
  // pixels, then stretched over the page, so text keeps its screen proportions.
  const int logicalWidth = pageWidth * logicalDpiX() / printerDpiX * 3 / 4;
  const int logicalHeight = pageHeight * logicalDpiY() / printerDpiY * 3 / 4;
  bool ok = logicalWidth > 0 && logicalHeight > 0;
  if (ok) {
    painter.setWindow(0, 0, logicalWidth, logicalHeight);
    painter.setViewport(0, 0, pageWidth, pageHeight);
    DrawChart(painter, {0, 0, logicalWidth, logicalHeight}, leftLabelShift_, rightLabelShift_);
  }
  ok = painter.end() && ok;
  if (!ok) printer.abort();
  stale_ = true;  // the layout was computed for the page
  Redraw();
  return ok;
}

QImage CChartCtrl::RenderImage(const ChartRect& rect) {
  const int w = rect.IsEmpty() ? width() : rect.Width();
  const int h = rect.IsEmpty() ? height() : rect.Height();
  QImage picture(w > 0 ? w : 0, h > 0 ? h : 0, QImage::Format_RGB32);
  if (picture.isNull()) return picture;
  {
    QPainter painter(&picture);
    FillBackground(painter, picture.rect());
    DrawChart(painter, ChartRect{0, 0, w, h}.Deflated(3), leftLabelShift_, rightLabelShift_);
  }
  stale_ = true;  // the layout was computed for the picture's size
  Redraw();
  return picture;
}

std::string CChartCtrl::RenderSvg() {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size());
  svg.setViewBox(rect());
  svg.setResolution(96);  // the size is written in mm: 96 dpi keeps one CSS pixel per pixel
  svg.setTitle("ESC Data log");
  {
    QPainter painter(&svg);
    FillBackground(painter, rect());
    DrawChart(painter, ChartRect{0, 0, width(), height()}.Deflated(3), leftLabelShift_, rightLabelShift_);
  }
  stale_ = true;
  Redraw();
  return buffer.data().toStdString();
}

namespace {

std::string EncodePng(const QImage& picture) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "PNG")) return {};
  return buffer.data().toStdString();
}

}  // namespace

ImageSaveResult CChartCtrl::SaveImage(const std::string& path, const ChartRect& rect, int bitsPerPixel,
                                      ImageEncoder encoder) {
  std::string bytes;
  switch (encoder) {
    case ImageEncoder::Bmp: {
      if (bitsPerPixel != 32 && bitsPerPixel != 24) return ImageSaveResult::UnsupportedFormat;
      const QImage picture = RenderImage(rect);
      if (!picture.isNull()) bytes = EncodeBmp(picture, bitsPerPixel);
      break;
    }
    case ImageEncoder::Png: {
      const QImage picture = RenderImage(rect);
      if (!picture.isNull()) bytes = EncodePng(picture);
      break;
    }
    case ImageEncoder::Svg:
      if (width() > 0 && height() > 0) bytes = RenderSvg();
      break;
  }
  if (bytes.empty()) return ImageSaveResult::EmptyImage;
  const cfg::FileWriteStatus status = cfg::WriteFileAtomically(path, bytes);
  switch (status.result) {
    case cfg::FileResult::Ok:
      return ImageSaveResult::Saved;
    case cfg::FileResult::NotFound:
    case cfg::FileResult::TooLarge:
    case cfg::FileResult::Exists:
    case cfg::FileResult::Failed:
      return ImageSaveResult::WriteFailed;
  }
  return ImageSaveResult::WriteFailed;
}

void CChartCtrl::CopyToClipboard() {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(RenderedImage());
}

}  // namespace orx
