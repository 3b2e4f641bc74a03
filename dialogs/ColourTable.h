// The forty named colours of the colour picker, in grid order (8 columns,
// 5 rows, reading order), and the cell logic of its popup: which cell a
// colour selects, which colour a cell stands for, and keyboard moves.
// Colours are 0x00BBGGRR values; 0xFF000000 is the default ("Automatic").
#pragma once

#include <array>
#include <cstdint>

namespace orx {

using ColourRef = uint32_t;

constexpr ColourRef Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<ColourRef>(r) | (static_cast<ColourRef>(g) << 8) | (static_cast<ColourRef>(b) << 16);
}
constexpr uint8_t RedOf(ColourRef c) { return c & 0xFF; }
constexpr uint8_t GreenOf(ColourRef c) { return (c >> 8) & 0xFF; }
constexpr uint8_t BlueOf(ColourRef c) { return (c >> 16) & 0xFF; }

inline constexpr ColourRef kDefaultColour = 0xFF000000;

struct NamedColour {
  ColourRef colour;
  const char* name;
};

inline constexpr int kColourCount = 40;
inline constexpr int kColourColumns = 8;
inline constexpr int kColourRows = 5;

const std::array<NamedColour, kColourCount>& ColourTable();

// Cell numbers of the popup besides 0-39.
namespace cell {
inline constexpr int Automatic = -3;
inline constexpr int Custom = -2;  // "More Colours..."
inline constexpr int None = -1;
}  // namespace cell

// The cell a popup opened with `colour` marks as chosen: "Automatic" for the
// default value (when that box exists), else the first equal table entry,
// else "More Colours..." (when it exists), else none.
int ChosenCellFor(ColourRef colour, bool hasAutomatic, bool hasCustom);

// The colour a cell stands for: the default value for "Automatic", the
// popup's initial colour for "More Colours..." and for none.
ColourRef CellColour(int cell, ColourRef initial);

enum class CellMove { Left, Right, Up, Down };
// Left/Right step in reading order, wrapping between rows; Up/Down change
// row. Before the first cell lies "Automatic", after the last one "More
// Colours...", when they exist. From no cell, any move goes to cell 0.
int MoveCell(int hot, CellMove move, bool hasAutomatic, bool hasCustom);

}  // namespace orx
