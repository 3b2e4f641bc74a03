// The title of one axis: text, colour and font, and where the last layout put it.
#pragma once

#include <QColor>
#include <string>

#include "chart/ChartFont.h"
#include "chart/ChartRect.h"
#include "chart/PreparedTexts.h"

namespace orx {

class CChartCtrl;

class CChartAxisLabel {
 public:
  CChartAxisLabel(CChartCtrl* parent, bool horizontal);
  virtual ~CChartAxisLabel() = default;

  void SetText(const std::string& text);  // Windows-1252
  const std::string& GetText() const { return text_; }
  void SetColor(QColor colour);
  QColor GetColor() const { return colour_; }
  void SetFont(int tenthsOfPoint, const std::string& face);
  void SetShown(bool shown);
  bool IsShown() const { return shown_; }
  const ChartFontInfo& Font() const { return font_; }

  // Text extent + 4 each way, width and height swapped for a vertical title;
  // 0 x 0 when hidden or empty.
  ChartSize Measure() const;
  // The title's font, with the text laid out once in it.
  PreparedTexts& Prepared() const;

  ChartRect position;  // placed by the axis on every draw

 private:
  void Redraw();

  CChartCtrl* parent_;
  bool shown_ = true;
  QColor colour_ = Qt::black;
  bool horizontal_;
  ChartFontInfo font_;
  std::string text_;
  mutable PreparedTexts texts_;
};

}  // namespace orx
