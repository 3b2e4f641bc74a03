// Texts laid out once in one font and drawn on every paint from then on: a
// repaint of an unchanged view does no text layout, no font matching and no
// Windows-1252 conversion. Keyed by the text itself, so a label that changes
// (after a zoom) is simply a new entry; a change of font drops them all.
#pragma once

#include <QFont>
#include <QStaticText>
#include <string>
#include <unordered_map>

#include "chart/ChartFont.h"

class QPainter;

namespace orx {

struct PreparedText {
  QStaticText text;
  int width = 0;  // horizontal advance in pixels
  QSizeF natural;  // unrounded extent of the laid-out line
};

class PreparedTexts {
 public:
  // Selects the font of the following texts; a different one clears the cache.
  void UseFont(const ChartFontInfo& font);
  const QFont& Font() const { return qfont_; }
  const ChartFontInfo& FontInfo() const { return fontInfo_; }
  int Height() const { return height_; }
  // `cp1252` laid out in the current font.
  const PreparedText& Get(const std::string& cp1252);
  // Draws `text` with its top left at `at`, cut to a box of `box`, as a text
  // drawn into that box would be (only a text wider than its box is cut).
  static void Draw(QPainter& painter, QPoint at, const PreparedText& text, QSize box);

 private:
  ChartFontInfo fontInfo_;
  bool fontSet_ = false;
  QFont qfont_;
  int height_ = 0;
  std::unordered_map<std::string, PreparedText> texts_;
};

}  // namespace orx
