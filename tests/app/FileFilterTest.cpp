#include <gtest/gtest.h>

#include "app/FileFilter.h"

using namespace orx;
using V = std::vector<std::string>;

TEST(FileFilter, WindowsFiltersBecomeQtNameFilters) {
  EXPECT_EQ(QtNameFilters("Config Files (*.cfg)|*.cfg||"), V{"Config Files (*.cfg)"});
  EXPECT_EQ(QtNameFilters("CSV (*.csv)|*.csv|All Files (*.*)|*.*||"), (V{"CSV (*.csv)", "All Files (*.*)"}));
  // Patterns the filter's label does not show are added, so Qt filters by them.
  EXPECT_EQ(QtNameFilters("Firmware|*.orx;*.dfu||"), V{"Firmware (*.orx *.dfu)"});
  EXPECT_EQ(QtNameFilters("Images (*.png)|*.bmp||"), V{"Images (*.png) (*.bmp)"});
}

TEST(FileFilter, MalformedFiltersGiveWhatCanBeUsed) {
  EXPECT_TRUE(QtNameFilters("").empty());
  EXPECT_TRUE(QtNameFilters("||").empty());
  EXPECT_TRUE(QtNameFilters("No patterns").empty());
  EXPECT_EQ(QtNameFilters("Config Files (*.cfg)|*.cfg"), V{"Config Files (*.cfg)"});  // no closing "||"
  EXPECT_EQ(QtNameFilters("|*.cfg||"), V{"(*.cfg)"});
}

TEST(FileFilter, DefaultExtensionOnlyWhenTheNameHasNone) {
  EXPECT_EQ(WithDefaultExtension("/home/u/motor", "cfg"), "/home/u/motor.cfg");
  EXPECT_EQ(WithDefaultExtension("/home/u/motor.cfg", "cfg"), "/home/u/motor.cfg");
  EXPECT_EQ(WithDefaultExtension("/home/u/motor.txt", "cfg"), "/home/u/motor.txt");
  EXPECT_EQ(WithDefaultExtension("/home/u.d/motor", "cfg"), "/home/u.d/motor.cfg");  // dot in a folder
  EXPECT_EQ(WithDefaultExtension("/home/u/.motor", "cfg"), "/home/u/.motor.cfg");
  EXPECT_EQ(WithDefaultExtension("/home/u/motor.", "cfg"), "/home/u/motor.cfg");
  EXPECT_EQ(WithDefaultExtension("/home/u/motor", ""), "/home/u/motor");
  EXPECT_EQ(WithDefaultExtension("/home/u/", "cfg"), "/home/u/");
}

TEST(FileFilter, ExtensionOfTheChosenFileType) {
  EXPECT_EQ(FilterExtension("Bitmap|*.bmp|PNG|*.png;*.PNG||", 1, "x"), "png");
  EXPECT_EQ(FilterExtension("Dfu|*.dfu|All Files (*.*)|*.*||", 1, "dfu"), "dfu");
  EXPECT_EQ(FilterExtension("No patterns||Log|*.csv||", 0, "x"), "csv");  // dropped filters do not count
}
