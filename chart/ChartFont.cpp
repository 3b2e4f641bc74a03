#include "chart/ChartFont.h"

#include <QStringList>
#include <cmath>

#include "base/Cp1252.h"

namespace orx {

int ChartFontPixelSize(int tenthsOfPoint) {
  const int px = static_cast<int>(std::lround(tenthsOfPoint * 96.0 / 720.0));
  return px < 1 ? 1 : px;
}

namespace {

// The layout offsets were tuned for the narrow Windows sans fonts; on Linux
// their metric twins keep labels clear of the axis lines.
void AddFontSubstitutes() {
  static const bool added = [] {
    const QStringList twins{"Liberation Sans", "Arial", "Nimbus Sans", "Helvetica"};
    QFont::insertSubstitutions("Microsoft Sans Serif", twins);
    QFont::insertSubstitutions("MS Sans Serif", twins);
    return true;
  }();
  (void)added;
}

}  // namespace

QFont ChartPointFont(int tenthsOfPoint, const std::string& face) {
  AddFontSubstitutes();
  QFont font(QString::fromStdString(cp1252ToUtf8(face)));
  font.setPixelSize(ChartFontPixelSize(tenthsOfPoint));
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QString ChartText(const std::string& cp1252) { return QString::fromUtf8(cp1252ToUtf8(cp1252)); }

QFont ChartFontInfo::MakeFont() const {
  QFont font = ChartPointFont(tenthsOfPoint, face);
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

}  // namespace orx
