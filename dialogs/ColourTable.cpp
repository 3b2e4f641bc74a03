#include "dialogs/ColourTable.h"

namespace orx {

const std::array<NamedColour, kColourCount>& ColourTable() {
  static const std::array<NamedColour, kColourCount> table{{
      {Rgb(0, 0, 0), "Black"},
      {Rgb(165, 42, 0), "Brown"},
      {Rgb(0, 64, 64), "Dark Olive Green"},
      {Rgb(0, 85, 0), "Dark Green"},
      {Rgb(0, 0, 94), "Dark Teal"},
      {Rgb(0, 0, 139), "Dark blue"},
      {Rgb(75, 0, 130), "Indigo"},
      {Rgb(40, 40, 40), "Dark grey"},
      {Rgb(139, 0, 0), "Dark red"},
      {Rgb(255, 104, 32), "Orange"},
      {Rgb(139, 139, 0), "Dark yellow"},
      {Rgb(0, 147, 0), "Green"},
      {Rgb(56, 142, 142), "Teal"},
      {Rgb(0, 0, 255), "Blue"},
      {Rgb(123, 123, 192), "Blue-grey"},
      {Rgb(102, 102, 102), "Grey - 40"},
      {Rgb(255, 0, 0), "Red"},
      {Rgb(255, 173, 91), "Light orange"},
      {Rgb(50, 205, 50), "Lime"},
      {Rgb(60, 179, 113), "Sea green"},
      {Rgb(127, 255, 212), "Aqua"},
      {Rgb(125, 158, 192), "Light blue"},
      {Rgb(128, 0, 128), "Violet"},
      {Rgb(127, 127, 127), "Grey - 50"},
      {Rgb(255, 192, 203), "Pink"},
      {Rgb(255, 215, 0), "Gold"},
      {Rgb(255, 255, 0), "Yellow"},
      {Rgb(0, 255, 0), "Bright green"},
      {Rgb(64, 224, 208), "Turquoise"},
      {Rgb(192, 255, 255), "Skyblue"},
      {Rgb(72, 0, 72), "Plum"},
      {Rgb(192, 192, 192), "Light grey"},
      {Rgb(255, 228, 225), "Rose"},
      {Rgb(210, 180, 140), "Tan"},
      {Rgb(255, 255, 224), "Light yellow"},
      {Rgb(152, 251, 152), "Pale green "},
      {Rgb(175, 238, 238), "Pale turquoise"},
      {Rgb(104, 131, 139), "Pale blue"},
      {Rgb(230, 230, 250), "Lavender"},
      {Rgb(255, 255, 255), "White"},
  }};
  return table;
}

int ChosenCellFor(ColourRef colour, bool hasAutomatic, bool hasCustom) {
  if (colour == kDefaultColour && hasAutomatic) return cell::Automatic;
  const auto& table = ColourTable();
  for (int i = 0; i < kColourCount; ++i) {
    if (table[i].colour == colour) return i;
  }
  return hasCustom ? cell::Custom : cell::None;
}

ColourRef CellColour(int c, ColourRef initial) {
  if (c == cell::Automatic) return kDefaultColour;
  if (c >= 0 && c < kColourCount) return ColourTable()[c].colour;
  return initial;
}

int MoveCell(int hot, CellMove move, bool hasAutomatic, bool hasCustom) {
  constexpr int last = kColourCount - 1;
  if (hot == cell::None || hot < cell::Automatic || hot > last) return 0;
  const int before = hasAutomatic ? cell::Automatic : 0;
  const int after = hasCustom ? cell::Custom : last;
  if (hot == cell::Automatic) {
    switch (move) {
      case CellMove::Left:
      case CellMove::Up: return hot;
      case CellMove::Right:
      case CellMove::Down: return 0;
    }
  }
  if (hot == cell::Custom) {
    switch (move) {
      case CellMove::Right:
      case CellMove::Down: return hot;
      case CellMove::Left: return last;
      case CellMove::Up: return last - (kColourColumns - 1);
    }
  }
  switch (move) {
    case CellMove::Left: return hot == 0 ? before : hot - 1;
    case CellMove::Right: return hot == last ? after : hot + 1;
    case CellMove::Up:
      if (hot >= kColourColumns) return hot - kColourColumns;
      return hasAutomatic ? cell::Automatic : hot;
    case CellMove::Down:
      if (hot + kColourColumns <= last) return hot + kColourColumns;
      return hasCustom ? cell::Custom : hot;
  }
  return hot;
}

}  // namespace orx
