// One axis of the chart: its range, its place along the plotting rectangle,
// its ticks, title and grid, and the series it scales. The slot it sits in
// (0-14) fixes its side and the offsets it is drawn with.
#pragma once

#include <QColor>
#include <memory>
#include <string>
#include <vector>

#include "chart/AxisMath.h"
#include "chart/ChartAxisLabel.h"
#include "chart/ChartGrid.h"
#include "chart/ChartLayout.h"
#include "chart/ChartRect.h"
#include "chart/PreparedTexts.h"

class QPainter;

namespace orx {

class CChartCtrl;
class CChartSerie;
class CChartScrollBar;

enum class AxisRangeMode {
  Fixed = 0,
  Automatic = 1,         // from all points of its series
  AutomaticVisible = 2,  // from the points visible on the other axis
};

class CChartAxis {
 public:
  CChartAxis(CChartCtrl* parent, int slot);
  virtual ~CChartAxis();
  CChartAxis(const CChartAxis&) = delete;
  CChartAxis& operator=(const CChartAxis&) = delete;

  virtual void SetDiscrete(bool discrete);
  virtual double PixelToValue(int pixel) const;
  virtual double FirstTickValue() const = 0;
  virtual bool NextTickValue(double current, double* next) const = 0;
  virtual int TickPixel(double value) const = 0;
  virtual int ValueToPixelDiscrete(double value) const = 0;
  virtual int ValueToPixelLinear(double value) const;
  virtual std::string TickLabel(double value) const = 0;
  virtual void RefreshTickStep() = 0;
  virtual void RefreshFirstTick() = 0;
  // What the tick labels are printed with, besides the values themselves.
  virtual double TickStepValue() const = 0;
  virtual int LabelDecimals() const = 0;
  virtual void ScrollSteps(int* count, int* position) const;
  virtual void ScrollBy(int oldPosition, int newPosition, bool reverse);
  virtual void PanAxis(int fromPixel, int toPixel);
  virtual void SetZoomRange(double min, double max);

  // Sets the shown range and the range that ResetZoom comes back to.
  void SetRange(double min, double max);
  void ResetZoom();
  void SetRangeMode(AxisRangeMode mode);
  AxisRangeMode GetRangeMode() const { return rangeMode_; }
  // Recomputes an automatic range from the series; true when it changed.
  bool RefreshAutomaticRange();

  double GetMin() const { return min_; }
  double GetMax() const { return max_; }
  double GetUndoZoomMin() const { return undoMin_; }
  double GetUndoZoomMax() const { return undoMax_; }

  void SetShown(bool shown);
  bool IsShown() const { return shown_; }
  void SetTickTextColor(QColor colour);
  void SetLineColor(QColor colour);
  void SetInverted(bool inverted);
  bool IsInverted() const { return inverted_; }
  void SetTickStep(bool automatic, double step);
  void SetMarginSize(bool automatic, int pixels);
  int GetMarginSize() const { return marginSize_; }
  void SetTickFont(int tenthsOfPoint, const std::string& face);
  void SetZoomAllowed(bool allowed) { zoomAllowed_ = allowed; }
  void SetZoomLimit(double limit) { zoomLimit_ = limit; }
  void EnableScrollBar(bool enabled);

  CChartAxisLabel* GetTitle() { return &title_; }
  const CChartAxisLabel* GetTitle() const { return &title_; }
  CChartGrid* GetGrid() { return &grid_; }
  const CChartGrid* GetGrid() const { return &grid_; }

  int ValueToPixel(double value) const;
  bool IsValueVisible(double value) const;

  int Slot() const { return slot_; }
  bool IsHorizontal() const { return horizontal_; }
  bool IsSecondary() const { return secondary_; }
  bool IsDiscrete() const { return discrete_; }
  AxisScale Scale() const;
  int StartPixel() const { return start_; }
  int EndPixel() const { return end_; }
  const ChartRect& AxisRect() const { return axisRect_; }

  // The two-letter quantity key ("DP", "TM", ...) that ties series to the axis.
  std::string Key;

  // --- used by the control and its series ---
  void RegisterSeries(CChartSerie* serie);
  void UnregisterSeries(CChartSerie* serie);
  const std::vector<CChartSerie*>& Series() const { return series_; }
  // Lowest and highest value of the axis' series along this axis.
  bool SeriesRange(double* min, double* max) const;

  void SetAxisSize(const ChartRect& chart, const ChartRect& plot);
  AxisMeasure Measure() const;
  int ResolveMargin(const AxisMeasure& measure);
  void Draw(QPainter& painter, int leftLabelShift, int rightLabelShift, QColor labelBackground);
  void PlaceScrollBar();
  CChartScrollBar* ScrollBar() const { return scrollBar_; }

 protected:
  void Redraw();
  // A fixed step given through SetTickStep(false, step).
  virtual void ApplyManualStep(double step) = 0;
  bool automaticStep_ = true;

 private:
  struct Tick {
    double value;
    PreparedText label;
  };
  // What the tick list was made for: a change of any of it makes a new one.
  struct TickKey {
    double min, max, first, step;
    int decimals;
    ChartFontInfo font;
    bool operator==(const TickKey&) const = default;
  };
  void DrawTickMark(QPainter& painter, double value, int lineX);
  void DrawTickLabel(QPainter& painter, const Tick& tick, int labelX);
  // Every tick of the current range with its label laid out, made once per
  // view rather than on every paint.
  const std::vector<Tick>& Ticks() const;
  ChartSize LargestTickLabel() const;
  PreparedTexts& TickTexts() const;
  void UpdateScrollBar();

  CChartCtrl* parent_;
  int slot_;
  double undoMin_ = 0.0;
  double undoMax_ = 0.0;
  bool shown_ = true;
  double max_ = 0.0;
  double min_ = 0.0;
  bool horizontal_;
  bool inverted_ = false;
  AxisRangeMode rangeMode_ = AxisRangeMode::Fixed;
  bool secondary_;
  bool discrete_ = false;
  int start_ = 0;
  int end_ = 0;
  ChartRect axisRect_;
  CChartAxisLabel title_;
  int tickFontTenths_ = 80;
  std::string tickFontFace_ = "Microsoft Sans Serif";
  mutable PreparedTexts tickTexts_;
  mutable std::vector<Tick> ticks_;
  mutable TickKey ticksKey_{};
  mutable bool ticksMade_ = false;
  QColor tickTextColour_ = Qt::black;
  QColor lineColour_ = Qt::black;
  CChartGrid grid_;
  std::vector<CChartSerie*> series_;
  bool automaticMargin_ = true;
  int marginSize_ = 0;
  bool zoomAllowed_ = true;
  double zoomLimit_ = 0.001;
  CChartScrollBar* scrollBar_ = nullptr;  // a child of the control, deleted with the axis
};

// Linear axis with decimal tick steps.
class CChartStandardAxis : public CChartAxis {
 public:
  using CChartAxis::CChartAxis;

  double FirstTickValue() const override;
  bool NextTickValue(double current, double* next) const override;
  int TickPixel(double value) const override;
  int ValueToPixelDiscrete(double value) const override;
  std::string TickLabel(double value) const override;
  void RefreshTickStep() override;
  void RefreshFirstTick() override;

  double GetTickStep() const { return tickStep_; }
  int GetDecimals() const { return decimals_; }
  double TickStepValue() const override { return tickStep_; }
  int LabelDecimals() const override { return decimals_; }

 protected:
  void ApplyManualStep(double step) override;

 private:
  double firstTick_ = 0.0;
  double tickStep_ = 1.0;
  int decimals_ = 0;
};

}  // namespace orx
