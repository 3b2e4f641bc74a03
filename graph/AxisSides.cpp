#include "graph/AxisSides.h"

namespace orx::graph {

namespace {

int mainSlot(Side side) { return side == Side::Left ? kLeftAxis : kRightAxis; }
int firstExtra(Side side) { return side == Side::Left ? 4 : 9; }
constexpr int kExtraCount = 5;

bool shown(const CChartCtrl& chart, int slot) {
  const CChartAxis* axis = chart.GetAxis(slot);
  return axis && axis->IsShown();
}

// The highest shown extra slot, else the main slot.
int outermostShown(const CChartCtrl& chart, Side side) {
  for (int slot = firstExtra(side) + kExtraCount - 1; slot >= firstExtra(side); --slot)
    if (shown(chart, slot)) return slot;
  return mainSlot(side);
}

struct AxisRanges {
  double fullMin, fullMax, min, max;
};

AxisRanges rangesOf(const CChartAxis& axis) {
  return {axis.GetUndoZoomMin(), axis.GetUndoZoomMax(), axis.GetMin(), axis.GetMax()};
}

void putRanges(CChartAxis& axis, const AxisRanges& r) {
  axis.SetRange(r.fullMin, r.fullMax);
  if (r.min != r.fullMin || r.max != r.fullMax) axis.SetZoomRange(r.min, r.max);
}

// One exchange: the main slot from the outermost axis, else the first hole.
void compactOnce(CChartCtrl& chart, Side side) {
  const int main = mainSlot(side);
  if (!shown(chart, main)) {
    exchangeSlots(chart, main, outermostShown(chart, side));
    return;
  }
  for (int i = 0; i < kExtraCount; ++i) {
    const int slot = firstExtra(side) + i;
    if (!shown(chart, slot)) {
      exchangeSlots(chart, slot, outermostShown(chart, side));
      return;
    }
  }
}

}  // namespace

bool isSideSlot(Side side, int slot) {
  return slot == mainSlot(side) || (slot >= firstExtra(side) && slot < firstExtra(side) + kExtraCount);
}

std::optional<Side> sideOfSlot(int slot) {
  if (isSideSlot(Side::Left, slot)) return Side::Left;
  if (isSideSlot(Side::Right, slot)) return Side::Right;
  return std::nullopt;
}

int shownOnSide(const CChartCtrl& chart, Side side) {
  int count = shown(chart, mainSlot(side)) ? 1 : 0;
  for (int i = 0; i < kExtraCount; ++i) count += shown(chart, firstExtra(side) + i) ? 1 : 0;
  return count;
}

bool hasGap(const CChartCtrl& chart, Side side) {
  const int count = shownOnSide(chart, side);
  if (count == 0) return false;
  if (!shown(chart, mainSlot(side))) return true;
  for (int i = 0; i < count - 1; ++i)
    if (!shown(chart, firstExtra(side) + i)) return true;
  return false;
}

void exchangeSlots(CChartCtrl& chart, int t, int s) {
  CChartAxis* a = chart.GetAxis(t);
  CChartAxis* b = chart.GetAxis(s);
  if (!a || !b || a == b) return;
  std::swap(a->Key, b->Key);
  const std::string titleA = a->GetTitle()->GetText();
  a->GetTitle()->SetText(b->GetTitle()->GetText());
  b->GetTitle()->SetText(titleA);
  // The title always carries the axis colour, so it stands for all three.
  const QColor colourA = a->GetTitle()->GetColor();
  const QColor colourB = b->GetTitle()->GetColor();
  for (auto [axis, colour] : {std::pair{a, colourB}, std::pair{b, colourA}}) {
    axis->SetLineColor(colour);
    axis->SetTickTextColor(colour);
    axis->GetTitle()->SetColor(colour);
  }
  // Full and zoomed range travel together: a zoomed range taken as the full
  // one would stay after Reset Zoom.
  const AxisRanges rangesA = rangesOf(*a);
  putRanges(*a, rangesOf(*b));
  putRanges(*b, rangesA);
  const bool shownA = a->IsShown();
  a->SetShown(true);
  b->SetShown(shownA);
}

void compactSide(CChartCtrl& chart, Side side) {
  // Until no hole is left: an axis left outside a hole is drawn past the
  // chart's edge once the label shift follows the shown count.
  for (int step = 0; step <= kExtraCount && hasGap(chart, side); ++step) compactOnce(chart, side);
}

int moveAcross(CChartCtrl& chart, int from, const std::function<bool(const std::string& key)>& leavingTarget) {
  const std::optional<Side> fromSide = sideOfSlot(from);
  if (!fromSide) return -1;
  const Side to = *fromSide == Side::Left ? Side::Right : Side::Left;
  int target = -1;
  if (!shown(chart, mainSlot(to))) {
    target = mainSlot(to);
  } else {
    for (int i = 0; i < kExtraCount && target < 0; ++i)
      if (!shown(chart, firstExtra(to) + i)) target = firstExtra(to) + i;
    for (int i = 0; i < kExtraCount && target < 0; ++i) {
      const CChartAxis* axis = chart.GetAxis(firstExtra(to) + i);
      if (axis && leavingTarget(axis->Key)) target = firstExtra(to) + i;
    }
  }
  if (target >= 0) exchangeSlots(chart, target, from);
  return target;
}

}  // namespace orx::graph
