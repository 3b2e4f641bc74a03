// The forty named colours and the popup's cell logic.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dialogs/ColourTable.h"

namespace orx {
namespace {

TEST(ColourTable, FortyColoursWithTheirNamesInGridOrder) {
  struct Row {
    int r, g, b;
    const char* name;
  };
  const Row expected[kColourCount] = {
      {0, 0, 0, "Black"},           {165, 42, 0, "Brown"},         {0, 64, 64, "Dark Olive Green"},
      {0, 85, 0, "Dark Green"},     {0, 0, 94, "Dark Teal"},       {0, 0, 139, "Dark blue"},
      {75, 0, 130, "Indigo"},       {40, 40, 40, "Dark grey"},     {139, 0, 0, "Dark red"},
      {255, 104, 32, "Orange"},     {139, 139, 0, "Dark yellow"},  {0, 147, 0, "Green"},
      {56, 142, 142, "Teal"},       {0, 0, 255, "Blue"},           {123, 123, 192, "Blue-grey"},
      {102, 102, 102, "Grey - 40"}, {255, 0, 0, "Red"},            {255, 173, 91, "Light orange"},
      {50, 205, 50, "Lime"},        {60, 179, 113, "Sea green"},   {127, 255, 212, "Aqua"},
      {125, 158, 192, "Light blue"}, {128, 0, 128, "Violet"},      {127, 127, 127, "Grey - 50"},
      {255, 192, 203, "Pink"},      {255, 215, 0, "Gold"},         {255, 255, 0, "Yellow"},
      {0, 255, 0, "Bright green"},  {64, 224, 208, "Turquoise"},   {192, 255, 255, "Skyblue"},
      {72, 0, 72, "Plum"},          {192, 192, 192, "Light grey"}, {255, 228, 225, "Rose"},
      {210, 180, 140, "Tan"},       {255, 255, 224, "Light yellow"}, {152, 251, 152, "Pale green "},
      {175, 238, 238, "Pale turquoise"}, {104, 131, 139, "Pale blue"}, {230, 230, 250, "Lavender"},
      {255, 255, 255, "White"},
  };
  std::set<ColourRef> distinct;
  for (int i = 0; i < kColourCount; ++i) {
    const NamedColour& c = ColourTable()[i];
    EXPECT_EQ(RedOf(c.colour), expected[i].r) << i;
    EXPECT_EQ(GreenOf(c.colour), expected[i].g) << i;
    EXPECT_EQ(BlueOf(c.colour), expected[i].b) << i;
    EXPECT_EQ(std::string(c.name), expected[i].name) << i;
    distinct.insert(c.colour);
  }
  // Every colour selects its own cell.
  EXPECT_EQ(distinct.size(), 40u);
  EXPECT_EQ(Rgb(0, 0, 255), 0x00FF0000u);
  EXPECT_EQ(Rgb(255, 104, 32), 0x002068FFu);
}

TEST(ColourPopupCells, ChosenCellFromTheInitialColour) {
  EXPECT_EQ(ChosenCellFor(Rgb(0, 0, 255), true, true), 13);
  EXPECT_EQ(ChosenCellFor(Rgb(255, 255, 255), true, true), 39);
  EXPECT_EQ(ChosenCellFor(kDefaultColour, true, true), cell::Automatic);
  // Without the "Automatic" box the default value is just a colour not in the table.
  EXPECT_EQ(ChosenCellFor(kDefaultColour, false, true), cell::Custom);
  EXPECT_EQ(ChosenCellFor(Rgb(1, 2, 3), true, true), cell::Custom);
  EXPECT_EQ(ChosenCellFor(Rgb(1, 2, 3), true, false), cell::None);
}

TEST(ColourPopupCells, ColourOfEachCell) {
  const ColourRef initial = Rgb(1, 2, 3);
  EXPECT_EQ(CellColour(cell::Automatic, initial), kDefaultColour);
  EXPECT_EQ(CellColour(cell::Custom, initial), initial);
  EXPECT_EQ(CellColour(cell::None, initial), initial);
  EXPECT_EQ(CellColour(16, initial), Rgb(255, 0, 0));
  EXPECT_EQ(CellColour(40, initial), initial);
}

TEST(ColourPopupCells, KeyboardMovesWrapRowsAndReachTheTextBoxes) {
  EXPECT_EQ(MoveCell(7, CellMove::Right, true, true), 8);   // end of row 0 to start of row 1
  EXPECT_EQ(MoveCell(8, CellMove::Left, true, true), 7);
  EXPECT_EQ(MoveCell(3, CellMove::Down, true, true), 11);
  EXPECT_EQ(MoveCell(11, CellMove::Up, true, true), 3);
  EXPECT_EQ(MoveCell(0, CellMove::Left, true, true), cell::Automatic);
  EXPECT_EQ(MoveCell(5, CellMove::Up, true, true), cell::Automatic);
  EXPECT_EQ(MoveCell(39, CellMove::Right, true, true), cell::Custom);
  EXPECT_EQ(MoveCell(34, CellMove::Down, true, true), cell::Custom);
  EXPECT_EQ(MoveCell(cell::Automatic, CellMove::Right, true, true), 0);
  EXPECT_EQ(MoveCell(cell::Automatic, CellMove::Up, true, true), cell::Automatic);
  EXPECT_EQ(MoveCell(cell::Custom, CellMove::Left, true, true), 39);
  EXPECT_EQ(MoveCell(cell::Custom, CellMove::Down, true, true), cell::Custom);
  EXPECT_EQ(MoveCell(cell::None, CellMove::Down, true, true), 0);
  // Without the boxes the grid's ends stay put.
  EXPECT_EQ(MoveCell(0, CellMove::Left, false, false), 0);
  EXPECT_EQ(MoveCell(39, CellMove::Right, false, false), 39);
  EXPECT_EQ(MoveCell(36, CellMove::Down, false, false), 36);
  EXPECT_EQ(MoveCell(2, CellMove::Up, false, false), 2);
}

}  // namespace
}  // namespace orx
