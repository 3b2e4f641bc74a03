#include "chart/AxisSlots.h"

namespace orx {

bool IsValidAxisSlot(int slot) { return slot >= 0 && slot < kAxisSlotCount; }

bool IsHorizontalSlot(int slot) { return slot == kBottomAxis || slot == kTopAxis; }

bool IsSecondarySlot(int slot) { return slot == kRightAxis || slot == kTopAxis || (slot >= 9 && slot <= 14); }

VerticalSlotOffsets VerticalOffsets(int slot) {
  // Tuned by eye so stacked axes do not overlap their neighbours' labels;
  // 7 and 12 are irregular on purpose.
  switch (slot) {
    case 0: return {1, -45, 135};
    case 4: return {50, -95, 140};
    case 5: return {100, -145, 30};
    case 6: return {150, -195, -20};
    case 7: return {200, -250, -65};
    case 8: return {250, -300, -115};
    case 2: return {1, 6, -150};
    case 9: return {50, 55, -100};
    case 10: return {100, 105, -50};
    case 11: return {150, 155, 5};
    case 12: return {200, 205, 52};
    case 13: return {250, 255, 102};
    case 14: return {300, 305, 152};
    default: return {};
  }
}

int TitleShift(int slot) {
  switch (slot) {
    case 4: return 40;
    case 2: return -95;
    case 0: return 95;
    default: return IsSecondarySlot(slot) ? -100 : 100;
  }
}

}  // namespace orx
