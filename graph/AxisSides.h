// Moving quantities between the chart's axis slots: exchanging what two slots
// show, compacting a side, and moving an axis across. Left slots are 0 and
// 4-8, right slots 2 and 9-13; slot 14 never takes part.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "chart/ChartCtrl.h"

namespace orx::graph {

enum class Side { Left, Right };

bool isSideSlot(Side side, int slot);
std::optional<Side> sideOfSlot(int slot);
int shownOnSide(const CChartCtrl& chart, Side side);

// A side has a gap unless its shown slots are its main slot (0 or 2) and the
// lowest extra slots without a hole, or nothing is shown on it.
bool hasGap(const CChartCtrl& chart, Side side);

// Exchanges what slots t and s show: keys, titles, colours, ranges; t is
// shown afterwards and s takes t's former shown state.
void exchangeSlots(CChartCtrl& chart, int t, int s);

// Fills the main slot from the outermost shown axis, then each hole, until
// the side has no gap.
void compactSide(CChartCtrl& chart, Side side);

// Moves the axis of slot `from` to the other side. `checkedThere(key)` says
// whether a quantity is about to move the other way, so its slot may be
// taken when the side is full. Returns the target slot, or -1 when none.
int moveAcross(CChartCtrl& chart, int from, const std::function<bool(const std::string& key)>& leavingTarget);

}  // namespace orx::graph
