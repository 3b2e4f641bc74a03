#include "graph/ReadoutLabel.h"

#include <QPainter>

namespace orx::graph {

ReadoutLabel::ReadoutLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  // Painting its own background spares the window a repaint behind it.
  setAutoFillBackground(true);
}

bool ReadoutLabel::laidOut() {
  const QString shown = text();
  if (shown == text_ && font() == font_) return plain_;
  text_ = shown;
  plain_ = false;
  if (font() != font_ || !raw_.isValid()) {
    font_ = font();
    raw_ = QRawFont::fromFont(font_);
  }
  if (!raw_.isValid() || shown.isEmpty() || textFormat() == Qt::RichText ||
      (textFormat() == Qt::AutoText && Qt::mightBeRichText(shown)))
    return false;
  for (const QChar c : shown)
    if (c.unicode() < 0x20 || c.unicode() > 0xFF || c == u'&') return false;  // breaks, tabs, mnemonics, scripts
  const QList<quint32> glyphs = raw_.glyphIndexesForString(shown);
  if (glyphs.size() != shown.size()) return false;
  for (const quint32 g : glyphs)
    if (g == 0) return false;  // the font lacks it: QLabel finds one that has it
  const QList<QPointF> advances = raw_.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
  QList<QPointF> positions;
  positions.reserve(glyphs.size());
  qreal x = 0;
  for (const QPointF& advance : advances) {
    positions.append(QPointF(x, 0));
    x += advance.x();
  }
  run_ = QGlyphRun();
  run_.setRawFont(raw_);
  run_.setGlyphIndexes(glyphs);
  run_.setPositions(positions);
  plain_ = true;
  return true;
}

void ReadoutLabel::paintEvent(QPaintEvent* event) {
  const Qt::Alignment align = alignment();
  // Selectable text is painted by QLabel's text control, with its selection.
  const Qt::TextInteractionFlags selectable = Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
  const bool simple = isEnabled() && !wordWrap() && frameWidth() == 0 && margin() == 0 && indent() <= 0 &&
                      layoutDirection() == Qt::LeftToRight && align == (Qt::AlignLeft | Qt::AlignVCenter) &&
                      !(textInteractionFlags() & selectable);
  if (!simple || !laidOut()) {
    QLabel::paintEvent(event);
    return;
  }
  // Where QLabel puts a line: its ascent and descent centred in the label.
  const QRect r = contentsRect();
  const qreal ascent = raw_.ascent(), descent = raw_.descent();
  const qreal baseline = r.top() + (r.height() - (ascent + descent)) / 2 + ascent;
  QPainter painter(this);
  painter.setPen(palette().color(foregroundRole()));
  painter.drawGlyphRun(QPointF(r.left(), baseline), run_);
}

}  // namespace orx::graph
