// Font description shared by the axis titles, the legend and the chart title,
// and the text helpers that turn the core's Windows-1252 texts into QStrings.
#pragma once

#include <QFont>
#include <QString>
#include <string>

namespace orx {

// Pixel height of a font of `tenthsOfPoint` on a 96 DPI surface, as a point
// font is sized on screen; the layout offsets are tuned for it.
int ChartFontPixelSize(int tenthsOfPoint);

QFont ChartPointFont(int tenthsOfPoint, const std::string& face);

QString ChartText(const std::string& cp1252);

class ChartFontInfo {
 public:
  std::string face = "Microsoft Sans Serif";
  int tenthsOfPoint = 100;
  bool italic = false;
  bool bold = false;
  bool underline = false;
  bool vertical = false;  // text running bottom to top

  QFont MakeFont() const;
  bool operator==(const ChartFontInfo&) const = default;
};

}  // namespace orx
