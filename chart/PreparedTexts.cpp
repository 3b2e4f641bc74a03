#include "chart/PreparedTexts.h"

#include <QFontMetrics>
#include <QPainter>

namespace orx {

namespace {
// Labels of many zoom steps pile up; past this many the cache starts over.
constexpr size_t kMaxTexts = 512;
}  // namespace

void PreparedTexts::UseFont(const ChartFontInfo& font) {
  if (fontSet_ && font == fontInfo_) return;
  fontInfo_ = font;
  fontSet_ = true;
  qfont_ = font.MakeFont();
  height_ = QFontMetrics(qfont_).height();
  texts_.clear();
}

const PreparedText& PreparedTexts::Get(const std::string& cp1252) {
  if (auto found = texts_.find(cp1252); found != texts_.end()) return found->second;
  if (texts_.size() >= kMaxTexts) texts_.clear();
  PreparedText prepared;
  const QString text = ChartText(cp1252);
  prepared.width = QFontMetrics(qfont_).horizontalAdvance(text);
  const QFontMetricsF exact(qfont_);
  prepared.natural = QSizeF(exact.horizontalAdvance(text), exact.height());
  prepared.text.setText(text);
  prepared.text.setTextFormat(Qt::PlainText);
  prepared.text.prepare(QTransform(), qfont_);
  return texts_.emplace(cp1252, std::move(prepared)).first->second;
}

void PreparedTexts::Draw(QPainter& painter, QPoint at, const PreparedText& text, QSize box) {
  if (text.natural.width() <= box.width() && text.natural.height() <= box.height()) {
    painter.drawStaticText(at, text.text);
    return;
  }
  painter.save();
  painter.setClipRect(QRect(at, box), Qt::IntersectClip);
  painter.drawStaticText(at, text.text);
  painter.restore();
}

}  // namespace orx
