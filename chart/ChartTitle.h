// The chart title (lines of text centred above the plot) and the legend (a
// framed box listing the named series). The graph window uses neither, but
// both take their room in the layout when present.
#pragma once

#include <QColor>
#include <string>
#include <vector>

#include "chart/ChartFont.h"
#include "chart/ChartRect.h"

class QPainter;

namespace orx {

class CChartCtrl;

class CChartTitle {
 public:
  explicit CChartTitle(CChartCtrl* parent) : parent_(parent) {}
  virtual ~CChartTitle() = default;

  void AddString(const std::string& line);  // Windows-1252
  void RemoveAll();
  size_t StringCount() const { return lines_.size(); }
  void SetShown(bool shown);
  void SetColor(QColor colour);

  // Height the lines take from the top of the chart rectangle (0 when none).
  int Height() const;
  void Draw(QPainter& painter, const ChartRect& chart) const;

 private:
  CChartCtrl* parent_;
  std::vector<std::string> lines_;
  bool shown_ = true;
  QColor colour_ = Qt::black;
  ChartFontInfo font_;
};

class CChartLegend {
 public:
  enum class Dock { Left, Right, Top, Bottom };

  explicit CChartLegend(CChartCtrl* parent) : parent_(parent) {}
  virtual ~CChartLegend() = default;

  void SetShown(bool shown);
  bool IsShown() const { return shown_; }
  void SetDock(Dock dock);

  // Takes the legend's room from `plot` on its docked side and remembers
  // where the box goes.
  void Reserve(QPainter& painter, const ChartRect& chart, ChartRect& plot);
  void Draw(QPainter& painter) const;
  // Where the last layout put the box (empty when not drawn).
  const ChartRect& BoxRect() const { return box_; }

 private:
  std::vector<std::pair<class CChartSerie*, QString>> Entries() const;

  CChartCtrl* parent_;
  bool shown_ = false;
  Dock dock_ = Dock::Right;
  ChartRect box_;
  ChartFontInfo font_;
};

}  // namespace orx
