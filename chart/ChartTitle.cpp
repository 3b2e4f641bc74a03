#include "chart/ChartTitle.h"

#include <QFontMetrics>
#include <QPainter>

#include "chart/ChartCtrl.h"
#include "chart/ChartSerie.h"

namespace orx {

void CChartTitle::AddString(const std::string& line) {
  lines_.push_back(line);
  if (parent_) parent_->Redraw();
}

void CChartTitle::RemoveAll() {
  lines_.clear();
  if (parent_) parent_->Redraw();
}

void CChartTitle::SetShown(bool shown) {
  shown_ = shown;
  if (parent_) parent_->Redraw();
}

void CChartTitle::SetColor(QColor colour) {
  colour_ = colour;
  if (parent_) parent_->Redraw();
}

int CChartTitle::Height() const {
  if (!shown_ || lines_.empty()) return 0;
  return QFontMetrics(font_.MakeFont()).height() * static_cast<int>(lines_.size());
}

void CChartTitle::Draw(QPainter& painter, const ChartRect& chart) const {
  if (!shown_ || lines_.empty()) return;
  painter.save();
  painter.setFont(font_.MakeFont());
  painter.setPen(colour_);
  const int lineHeight = QFontMetrics(painter.font()).height();
  int y = chart.top;
  for (const std::string& line : lines_) {
    painter.drawText(QRect(chart.left, y, chart.Width(), lineHeight), Qt::AlignHCenter | Qt::AlignTop,
                     ChartText(line));
    y += lineHeight;
  }
  painter.restore();
}

void CChartLegend::SetShown(bool shown) {
  shown_ = shown;
  if (parent_) parent_->Redraw();
}

void CChartLegend::SetDock(Dock dock) {
  dock_ = dock;
  if (parent_) parent_->Redraw();
}

std::vector<std::pair<CChartSerie*, QString>> CChartLegend::Entries() const {
  std::vector<std::pair<CChartSerie*, QString>> entries;
  if (!parent_) return entries;
  for (CChartSerie* serie : parent_->Series())
    if (serie->IsShown() && !serie->GetName().empty()) entries.emplace_back(serie, ChartText(serie->GetName()));
  return entries;
}

namespace {
constexpr int kSampleWidth = 20;
constexpr int kPadding = 4;
}  // namespace

void CChartLegend::Reserve(QPainter& painter, const ChartRect& chart, ChartRect& plot) {
  box_ = {};
  if (!shown_) return;
  const auto entries = Entries();
  if (entries.empty()) return;
  const QFontMetrics metrics(font_.MakeFont(), painter.device());
  int textWidth = 0;
  for (const auto& entry : entries) textWidth = std::max(textWidth, metrics.horizontalAdvance(entry.second));
  const int w = kPadding * 3 + kSampleWidth + textWidth;
  const int h = kPadding * 2 + metrics.height() * static_cast<int>(entries.size());
  const int midY = (chart.top + chart.bottom) / 2;
  const int midX = (chart.left + chart.right) / 2;
  switch (dock_) {
    case Dock::Left:
      box_ = {plot.left, midY - h / 2, plot.left + w, midY - h / 2 + h};
      plot.left += w + kPadding;
      break;
    case Dock::Right:
      box_ = {plot.right - w, midY - h / 2, plot.right, midY - h / 2 + h};
      plot.right -= w + kPadding;
      break;
    case Dock::Top:
      box_ = {midX - w / 2, plot.top, midX - w / 2 + w, plot.top + h};
      plot.top += h + kPadding;
      break;
    case Dock::Bottom:
      box_ = {midX - w / 2, plot.bottom - h, midX - w / 2 + w, plot.bottom};
      plot.bottom -= h + kPadding;
      break;
  }
}

void CChartLegend::Draw(QPainter& painter) const {
  if (!shown_ || box_.IsEmpty()) return;
  painter.save();
  painter.setFont(font_.MakeFont());
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::white);
  painter.drawRect(box_.left, box_.top, box_.Width(), box_.Height());
  const int lineHeight = QFontMetrics(painter.font()).height();
  int y = box_.top + kPadding;
  for (const auto& [serie, name] : Entries()) {
    const ChartRect sample{box_.left + kPadding, y, box_.left + kPadding + kSampleWidth, y + lineHeight};
    serie->DrawLegendSample(painter, sample);
    painter.setPen(Qt::black);
    painter.drawText(QRect(sample.right + kPadding, y, box_.right - sample.right, lineHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, name);
    y += lineHeight;
  }
  painter.restore();
}

}  // namespace orx
