// What a flow running on the link worker may ask of the program around it.
//
// Threading: every call comes from the link worker's thread. Implementations
// reach the window only by posting (controls go through SharedControls, boxes
// through a Prompter that blocks this thread until the user answers).
#pragma once

#include "base/Messages.h"
#include "base/SharedControls.h"

namespace orx {

class FlowHost {
 public:
  virtual ~FlowHost() = default;

  virtual SharedControls& controls() = 0;
  virtual Prompter& prompter() = 0;
  // Timer 1: the next monitor tick comes `ms` after the running job ends.
  virtual void restartMonitor(int ms) = 0;
  // The adapter and device squares may have changed colour.
  virtual void indicatorsChanged() = 0;
  // Looks for an ESC waiting in USB DFU mode; true when one is listed.
  virtual bool findDfuDevice() = 0;
  // Forgets the name of the DFU device found last (repair mode starts afresh).
  virtual void forgetDfuDeviceName() {}
  // Reads the memory map of the DFU device found last; true when it reads.
  virtual bool readDfuMapping() { return false; }
  // Sends the DFU device found last back to its application, not watched.
  virtual void leaveDfuMode() {}
  // Asks for a settings read as a job of its own after the running one, so
  // the job that asks (a firmware update, say) is not held up by the read.
  virtual void postSettingsRead() = 0;
};

}  // namespace orx
