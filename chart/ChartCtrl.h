// The chart control: up to fifteen axes, line series, a cross-hair cursor,
// zoom, pan, a mouse read-out for the graph window, printing and image export.
//
// Everything runs on the UI thread. Setters only mark the picture stale and
// ask Qt for one paint; the chart is rendered once into an off-screen image
// when it is next painted (or read), so a burst of changes costs one render.
// EnableRedraw(false) ... EnableRedraw(true) holds even that until the end.
// The frame (background, titles, axes, grid, border) is kept in an image of
// its own: a change of the curves alone (RedrawCurves) draws them over a copy
// of it; any other change (Redraw, a new size) lays the frame out anew.
#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chart/AxisSlots.h"
#include "chart/ChartAxis.h"
#include "chart/ChartCursor.h"
#include "chart/ChartLineSerie.h"
#include "chart/ChartReadout.h"
#include "chart/ChartRect.h"
#include "chart/ChartTitle.h"

class QPrinter;
class QPrintDialog;

namespace orx {

// Told of clicks on the parts of the chart (none is set by the graph window).
class CChartMouseListener {
 public:
  virtual ~CChartMouseListener() = default;
  virtual void OnMouseEventTitle(ChartMouseEvent, QPoint) {}
  virtual void OnMouseEventAxis(ChartMouseEvent, QPoint, CChartAxis*) {}
  virtual void OnMouseEventLegend(ChartMouseEvent, QPoint) {}
  virtual void OnMouseEventPlotArea(ChartMouseEvent, QPoint) {}
};

enum class ImageEncoder {
  Bmp,  // 32 or 24 bits per pixel
  Png,
  Svg,  // drawn as vectors, at the control's size
};

enum class PrintResult {
  Printed,
  Cancelled,  // the print dialog was closed without printing
  Failed,     // the printer or file could not be started, or the page failed
};

// The choices the chart's print dialog offers: whole chart, one page, and a
// PDF file, so that a machine without a printer can still print.
void SetUpPrintDialog(QPrintDialog& dialog);

enum class ImageSaveResult {
  Saved,
  UnsupportedFormat,  // a BMP of other than 32 or 24 bits per pixel
  EmptyImage,
  WriteFailed,
};

class CChartCtrl : public QWidget {
  Q_OBJECT
 public:
  explicit CChartCtrl(QWidget* parent = nullptr);
  ~CChartCtrl() override;

  // Places the control in `parent` at `rect`; `id` becomes its objectName.
  void Create(QWidget* parent, const QRect& rect, int id);

  // Slots 0-3; replaces an axis already there.
  CChartStandardAxis* CreateAxis(int slot);
  // Slots 4-14; replaces an axis already there.
  CChartStandardAxis* CreateExtraAxis(int slot);
  CChartAxis* GetAxis(int slot) const;

  // Null when either slot is empty or out of range.
  CChartLineSerie* AddLineSeries(int horizontalSlot, int verticalSlot);
  void ClearSeries();
  std::vector<CChartSerie*> Series() const;  // in id order
  CChartSerie* FindSerie(const std::string& name) const;

  void ResetZoom();
  // Zooms around the pixel `at` by `factor` (below 1 zooms in): the time
  // axes only, or every axis. Zooming out stops at the full ranges.
  void ZoomAt(QPoint at, double factor, bool everyAxis);
  void EnableRedraw(bool enable);
  void Redraw();
  // For a change that leaves the frame as it is: a curve's points (once its
  // axes' ranges are settled), colour, pen or visibility.
  void RedrawCurves();
  // Refreshes the range of every automatic-visible axis (after a scroll).
  void RefreshVisibleAxes();

  void SetBackColor(QColor colour);
  QColor GetBackColor() const { return backColour_; }
  void SetBorderColor(QColor colour);
  void SetBackGradient(bool enabled, QColor first, QColor second, int type);
  void SetZoomRectColor(QColor colour) { zoomRectColour_ = colour; }
  void SetZoomEnabled(bool enabled) { zoomEnabled_ = enabled; }
  void SetPanEnabled(bool enabled) { panEnabled_ = enabled; }
  void SetLeftLabelShift(int shift);
  void SetRightLabelShift(int shift);
  void SetRightAxisSeparator(bool shown);
  CChartLegend* GetLegend() { return &legend_; }
  CChartTitle* GetTitle() { return &title_; }

  // Plotting rectangle of the last render.
  const ChartRect& GetPlottingRect() const { return plottingRect_; }
  // The off-screen picture, rendered first when stale.
  const QImage& RenderedImage();
  int RenderCount() const { return renderCount_; }
  int FrameRenderCount() const { return frameRenderCount_; }
  // Draws the chart (no background) into `chart` of any painter: screen,
  // image or printer.
  void DrawChart(QPainter& painter, const ChartRect& chart, int leftLabelShift, int rightLabelShift);

  // --- interaction ---
  CChartCrossHairCursor* AddCrossHair(bool topAxis, bool rightAxis);
  CChartCrossHairCursor* GetCrossHair() const { return crossHair_; }
  void SetMouseListener(CChartMouseListener* listener) { mouseListener_ = listener; }
  void ShowMouseCursor(bool shown);
  bool IsZoomDragging() const { return zoomDragging_; }

  // Read-out block and the host's labels it fills (any may be null).
  ChartReadoutBlock& Readout() { return readout_; }
  void SetReadoutLabel(ReadoutStatic which, QLabel* label);
  // Last text put into a read-out static (Windows-1252), empty before any.
  const std::string& ReadoutText(ReadoutStatic which) const;

  // Asks for a printer (unless `dialog` is given, already answered) and
  // prints the chart on one page.
  PrintResult PrintChart(const std::string& title, QPrintDialog* dialog = nullptr);
  bool PrintChartTo(QPrinter& printer, const std::string& title);

  // The chart as SaveImage writes it; an empty rect means the whole control.
  QImage RenderImage(const ChartRect& rect);
  // The picture as a vector drawing (SVG) of the whole control.
  std::string RenderSvg();
  // Writes the picture atomically: an older file is never left half-written.
  ImageSaveResult SaveImage(const std::string& path, const ChartRect& rect, int bitsPerPixel, ImageEncoder encoder);
  void CopyToClipboard();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  CChartStandardAxis* PutAxis(int slot);
  void Render();
  // The two halves of DrawChart: the frame lays the chart out and draws
  // everything under the curves; then the curves, point labels and legend.
  void DrawFrame(QPainter& painter, const ChartRect& chart, int leftLabelShift, int rightLabelShift);
  void DrawCurves(QPainter& painter);
  // Where DrawCurves may draw: the plotting area and the legend.
  QRect CurveArea() const;
  void FillBackground(QPainter& painter, const QRect& rect) const;
  void Notify(ChartMouseEvent event, QPoint point);
  void OnLeftDown(QPoint point);
  void OnLeftUp(QPoint point);
  void OnRightDown(QPoint point);
  void OnRightUp(QPoint point);
  void OnMove(QPoint point);
  void Zoom();
  void Pan(QPoint point);
  void UpdateReadout(QPoint point);
  QRegion CursorArea() const;

  std::array<std::unique_ptr<CChartAxis>, kAxisSlotCount> axes_;
  int redrawCounter_ = 1;
  bool pendingRedraw_ = false;
  bool stale_ = true;
  bool frameStale_ = true;
  QImage image_;
  QImage frame_;
  bool imageHoldsFrame_ = false;
  int renderCount_ = 0;
  int frameRenderCount_ = 0;
  bool gradient_ = false;
  QColor gradientFirst_;
  QColor gradientSecond_;
  int gradientType_ = 1;
  QColor backColour_;
  QColor borderColour_ = Qt::black;
  ChartRect plottingRect_;
  ChartRect titleRect_;
  CChartLegend legend_;
  CChartTitle title_;
  bool panEnabled_ = true;
  bool rightDown_ = false;
  QPoint lastPan_;
  bool zoomEnabled_ = true;
  bool zoomDragging_ = false;
  QPoint zoomStart_;
  QPoint zoomEnd_;
  QColor zoomRectColour_ = Qt::white;
  std::map<unsigned, std::unique_ptr<CChartSerie>> series_;
  std::map<unsigned, std::unique_ptr<CChartCursor>> cursors_;
  CChartCrossHairCursor* crossHair_ = nullptr;
  QRegion paintedCursors_;  // where the last paint drew the cursors
  CChartMouseListener* mouseListener_ = nullptr;
  bool showSystemCursor_ = true;
  int leftLabelShift_ = 0;
  int rightLabelShift_ = 0;
  bool rightAxisSeparator_ = false;
  ChartReadoutBlock readout_;
  std::array<QPointer<QLabel>, kReadoutStaticCount> readoutLabels_{};  // the host may delete them first
  std::array<std::string, kReadoutStaticCount> readoutTexts_;
  std::array<bool, kReadoutStaticCount> labelCurrent_{};  // the label shows readoutTexts_
};

}  // namespace orx
