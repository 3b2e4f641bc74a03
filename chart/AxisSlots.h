// The fifteen axis slots of the chart: which side each one sits on and the
// fixed pixel offsets that stack the extra vertical axes 50 pixels apart
// beside the plot. Pure data.
#pragma once

namespace orx {

inline constexpr int kAxisSlotCount = 15;
inline constexpr int kBottomAxis = 1;
inline constexpr int kLeftAxis = 0;
inline constexpr int kRightAxis = 2;
inline constexpr int kTopAxis = 3;

bool IsValidAxisSlot(int slot);
bool IsHorizontalSlot(int slot);  // 1 and 3
bool IsSecondarySlot(int slot);   // right or top: 2, 3, 9-14

// Offsets of a vertical axis from its band's inner edge: the right edge R of a
// left band, the left edge L of a right band. A left axis puts its line at
// R - line, its tick labels at R + titleWidth + tickLabel, its title text at
// leftShift + title.right + titleText; a right axis puts its line at L + line,
// its labels at L + tickLabel and its title text at
// rightShift + title.left + titleText.
struct VerticalSlotOffsets {
  int line = 0;
  int tickLabel = 0;
  int titleText = 0;
};
VerticalSlotOffsets VerticalOffsets(int slot);

// Added to the title rectangle's x after centring or aligning it.
int TitleShift(int slot);

// The order in which ResetZoom restores the slots.
inline constexpr int kResetZoomOrder[kAxisSlotCount] = {1, 0, 3, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};

}  // namespace orx
