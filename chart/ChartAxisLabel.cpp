#include "chart/ChartAxisLabel.h"

#include "chart/ChartCtrl.h"

namespace orx {

CChartAxisLabel::CChartAxisLabel(CChartCtrl* parent, bool horizontal) : parent_(parent), horizontal_(horizontal) {
  font_.vertical = !horizontal;
}

void CChartAxisLabel::Redraw() {
  if (parent_) parent_->Redraw();
}

void CChartAxisLabel::SetText(const std::string& text) {
  text_ = text;
  Redraw();
}

void CChartAxisLabel::SetColor(QColor colour) {
  colour_ = colour;
  Redraw();
}

void CChartAxisLabel::SetFont(int tenthsOfPoint, const std::string& face) {
  font_.tenthsOfPoint = tenthsOfPoint;
  font_.face = face;
  Redraw();
}

void CChartAxisLabel::SetShown(bool shown) {
  shown_ = shown;
  Redraw();
}

ChartSize CChartAxisLabel::Measure() const {
  if (!shown_ || text_.empty()) return {};
  PreparedTexts& texts = Prepared();
  const int w = texts.Get(text_).width + 4;
  const int h = texts.Height() + 4;
  if (horizontal_) return {w, h};
  return {h, w};
}

PreparedTexts& CChartAxisLabel::Prepared() const {
  texts_.UseFont(font_);
  return texts_;
}

}  // namespace orx
