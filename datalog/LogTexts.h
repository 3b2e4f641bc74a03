// The message boxes of the data log, word for word.
#pragma once

#include "base/Messages.h"

namespace orx::datalog::text {

inline Message readFailed() { return {kDefaultCaption, MsgIcon::None, MsgButtons::Ok, "Read Log Data Failed!"}; }
inline Message unplugHint() {
  return {kCaption, MsgIcon::None, MsgButtons::Ok, "To increase the speed of the graph, please unplug your ESC"};
}
inline Message clearConfirm() {
  return {kCaption, MsgIcon::Warning, MsgButtons::OkCancel,
          "This operation will clear the data log of ESC! Are you sure you want to continue?"};
}
inline Message clearSuccess() { return {kCaption, MsgIcon::None, MsgButtons::Ok, "Clear data success!"}; }
inline Message clearFailed() { return {kCaption, MsgIcon::Error, MsgButtons::Ok, "Failed to clear data!"}; }
inline Message emptyLog() {
  return {kCaption, MsgIcon::None, MsgButtons::Ok, "The ESC has not saved any data (EEPROM is empty)"};
}
inline Message notNvqSeries() {
  return {kCaption, MsgIcon::Error, MsgButtons::Ok, "Error: Only the NVQ series ESCs have data logging capabilities."};
}

// CSV save and load.
inline Message saveNothingLoaded() { return {"Error", MsgIcon::None, MsgButtons::Ok, "Please import data before saving"}; }
inline Message saveCannotCreate() {
  return {"Error", MsgIcon::Error, MsgButtons::Ok, "Failed to create new file. Does the file already exist?"};
}
inline Message loadTooLarge() {
  return {kCaption, MsgIcon::None, MsgButtons::Ok,
          "Error another program is using this file or the file size is greater than 500k"};
}
inline Message loadNoLineFeed() {
  return {kCaption, MsgIcon::None, MsgButtons::Ok,
          "Error could not find any data in the file you have selected. Please check that Excel or another "
          "program is not using the file"};
}
inline Message loadMalformed() {
  return {"Error", MsgIcon::Error, MsgButtons::Ok,
          "Error while reading input file. File data was not formated properly."};
}

// Progress text under the graph window's progress bar.
inline constexpr const char* kProgressFormat = "READ LOG DATA ...%.2f%%";

}  // namespace orx::datalog::text
