// What the auxiliary windows ask of the ESC side, and how the main window
// opens them. No Qt here: the device manager implements the requests by
// posting jobs to the link worker.
//
// Threading: the windows call every request on their own thread and return at
// once. The listeners are called later on the link worker's thread; a window
// hands them to its WindowRelay, which brings the result back to it.
#pragma once

#include <functional>
#include <string>

#include "protocol/ProtectionsFlow.h"

namespace orx {

class UseTimeRequests {
 public:
  using TextListener = std::function<void(const std::string& text)>;
  virtual ~UseTimeRequests() = default;
  // Get Use Time. `show` gets the use time text to display (Windows-1252;
  // empty while none was ever read). Not called when the ESC is on the wrong
  // link: the error box says so instead.
  virtual void queryUseTime(TextListener show) = 0;
  // Reset Use Time. The ESC does not confirm.
  virtual void clearUseTime() = 0;
};

class ProtectionsRequests {
 public:
  using StatesListener = std::function<void(const ProtectionStates& states)>;
  virtual ~ProtectionsRequests() = default;
  // READ. `show` is called only when the ESC answered.
  virtual void readProtections(StatesListener show) = 0;
  // CLEAR, then a read whose states go to `show` the same way.
  virtual void clearProtections(StatesListener show) = 0;
};

// The menu entries behind Options > ESC Use Time, Options > Protections,
// Help > Help and Help > Version. Called on the window's thread.
class AuxWindows {
 public:
  virtual ~AuxWindows() = default;
  virtual void openUseTime() = 0;      // modeless, a new window each time
  virtual void openProtections() = 0;  // modal: returns when it is closed
  virtual void openHelp() = 0;         // modeless, a new window each time
  virtual void openVersion() = 0;      // modal
};

}  // namespace orx
