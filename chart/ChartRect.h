// A rectangle by its four edges, as the layout arithmetic uses them: right and
// bottom are the edge coordinates themselves, not left + width - 1.
#pragma once

namespace orx {

struct ChartRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
  ChartRect Deflated(int by) const { return {left + by, top + by, right - by, bottom - by}; }
  bool operator==(const ChartRect&) const = default;
};

struct ChartSize {
  int width = 0;
  int height = 0;
};

}  // namespace orx
