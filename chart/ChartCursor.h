// Cursors drawn over the chart picture (not into it), so that moving one only
// repaints. The graph window uses the cross-hair: a vertical line at the mouse.
#pragma once

#include <QColor>
#include <QRect>
#include <vector>

#include "chart/ChartRect.h"
#include "chart/LineRaster.h"

class QPainter;

namespace orx {

class CChartAxis;
class CChartCtrl;

class CChartCursorListener {
 public:
  virtual ~CChartCursorListener() = default;
  virtual void OnCursorMoved(double xValue, double yValue) = 0;
};

class CChartCursor {
 public:
  explicit CChartCursor(CChartCtrl* parent);
  virtual ~CChartCursor() = default;
  CChartCursor(const CChartCursor&) = delete;
  CChartCursor& operator=(const CChartCursor&) = delete;

  virtual void OnMouseMove(int x, int y) = 0;
  virtual void OnButtonDown(int, int) {}
  virtual void OnButtonUp(int, int) {}
  virtual void Draw(QPainter& painter) const = 0;
  // Draw into bare pixels, `shift` away from the chart's own, limited to
  // `target`'s clip. False when the cursor needs the painter instead.
  virtual bool DrawPixels(const RasterTarget&, int /*shiftX*/, int /*shiftY*/) const { return false; }
  // Where Draw paints now (empty when it paints nothing): a move repaints only
  // this, before and after.
  virtual QRect Area() const = 0;

  void SetColor(QColor colour);
  QColor GetColor() const { return colour_; }
  unsigned GetCursorId() const { return id_; }
  void RegisterListener(CChartCursorListener* listener) { listeners_.push_back(listener); }

 protected:
  QColor colour_ = Qt::black;
  CChartCtrl* parent_;
  unsigned id_;
  std::vector<CChartCursorListener*> listeners_;
};

class CChartCrossHairCursor : public CChartCursor {
 public:
  // Bound to axis slots, not axis objects, so a replaced axis is followed.
  CChartCrossHairCursor(CChartCtrl* parent, int horizontalSlot, int verticalSlot);

  void OnMouseMove(int x, int y) override;
  void Draw(QPainter& painter) const override;
  bool DrawPixels(const RasterTarget& target, int shiftX, int shiftY) const override;
  QRect Area() const override;

  // No redraw: the next mouse move repaints.
  void SetShown(bool shown) { shown_ = shown; }
  bool IsShown() const { return shown_; }
  int LastX() const { return lastX_; }
  int LastY() const { return lastY_; }

 private:
  bool shown_ = true;
  bool placed_ = false;  // no line until the mouse has been over the plot
  int horizontalSlot_;
  int verticalSlot_;
  int lastX_ = 0;
  int lastY_ = 0;
};

}  // namespace orx
