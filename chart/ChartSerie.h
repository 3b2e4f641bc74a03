// A curve of the chart, bound to one horizontal and one vertical axis. The
// control owns its series; a series registers with both axes and leaves their
// lists when destroyed.
#pragma once

#include <QColor>
#include <QPoint>
#include <climits>
#include <string>

#include "chart/ChartRect.h"

class QPainter;

namespace orx {

class CChartAxis;
class CChartCtrl;

// Mouse event codes handed to listeners.
enum class ChartMouseEvent {
  Move = 0,
  LButtonUp = 1,
  LButtonDown = 2,
  LButtonDoubleClick = 3,
  RButtonUp = 4,
  RButtonDown = 5,
  RButtonDoubleClick = 6,
};

inline constexpr unsigned kNoPoint = UINT_MAX;

// Colour a new series takes when `existing` series are already in the chart.
QColor DefaultSerieColor(size_t existing);

class CChartSerie {
 public:
  CChartSerie(CChartCtrl* parent, CChartAxis* horizontal, CChartAxis* vertical);
  CChartSerie(const CChartSerie&) = delete;
  CChartSerie& operator=(const CChartSerie&) = delete;

  virtual unsigned PointCount() const = 0;
  virtual QPoint PointPixel(unsigned index) const = 0;
  virtual bool YRange(double* min, double* max) const = 0;
  virtual bool XRange(double* min, double* max) const = 0;
  virtual bool VisibleXRange(double* min, double* max) const = 0;
  virtual bool VisibleYRange(double* min, double* max) const = 0;
  virtual ~CChartSerie();
  virtual bool HitTest(QPoint point, unsigned* index) const = 0;
  virtual bool VisiblePointRange(unsigned* first, unsigned* last) const = 0;
  virtual void DrawLegendSample(QPainter& painter, const ChartRect& rect) = 0;
  virtual void DrawNew(QPainter& painter) = 0;
  virtual void DrawAll(QPainter& painter) = 0;
  virtual void DrawPointLabels(QPainter& painter) = 0;
  virtual bool OnMouseEvent(ChartMouseEvent event, QPoint point) = 0;
  virtual void SetOrdering(int ordering) = 0;

  void SetName(const std::string& name);  // Windows-1252; the graph window uses the axis keys
  const std::string& GetName() const { return name_; }
  void SetColor(QColor colour);
  QColor GetColor() const { return colour_; }
  void SetShown(bool shown);
  bool IsShown() const { return shown_; }
  void SetShadow(bool enabled);
  void SetShadowColor(QColor colour);
  void SetShadowDepth(int depth);
  void EnableMouseClickNotification(bool enabled) { notifyClick_ = enabled; }
  void EnableMouseMoveNotification(bool enabled) { notifyMove_ = enabled; }

  unsigned GetSerieId() const { return id_; }
  CChartAxis* GetHorizontalAxis() const { return horizontalAxis_; }
  CChartAxis* GetVerticalAxis() const { return verticalAxis_; }
  void SetPlottingRect(const ChartRect& rect) { plottingRect_ = rect; }
  // Called by an axis that goes away before the series: the series stops
  // drawing rather than reach through a dangling pointer.
  void DetachAxis(const CChartAxis* axis);
  const ChartRect& PlottingRect() const { return plottingRect_; }

 protected:
  void Redraw();
  // Both axes recompute an automatic range after the points changed.
  void RefreshAxes();

  bool shown_ = true;
  CChartCtrl* parent_;
  CChartAxis* verticalAxis_;
  CChartAxis* horizontalAxis_;
  std::string name_;
  bool shadow_ = false;
  QColor colour_ = Qt::black;
  QColor shadowColour_ = QColor(150, 150, 150);
  int shadowDepth_ = 2;
  ChartRect plottingRect_;
  unsigned id_;
  bool notifyClick_ = true;
  bool notifyMove_ = false;
};

}  // namespace orx
