// The program around a flow: shared controls, a recording prompter, and a
// record of monitor periods, indicator repaints, DFU searches and posted reads.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "protocol/FlowHost.h"
#include "tests/support/RecordingPrompter.h"

namespace orx::test {

class RecordingHost : public FlowHost {
 public:
  SharedControls& controls() override { return shared; }
  Prompter& prompter() override { return boxes; }
  void restartMonitor(int ms) override { periods.push_back(ms); }
  void indicatorsChanged() override { ++indicatorCalls; }
  bool findDfuDevice() override;
  void postSettingsRead() override { ++postedReads; }

  DialogState snapshot() const;
  std::string text(int id) const;
  std::string status() const;
  bool checked(int id) const;
  bool enabled(int id) const;
  int progress() const;
  int lastPeriod() const { return periods.empty() ? 0 : periods.back(); }
  void setRepairMode(bool ticked);

  SharedControls shared;
  RecordingPrompter boxes;
  std::vector<int> periods;
  int indicatorCalls = 0;
  int dfuSearches = 0;
  std::function<bool()> dfuFound;  // none: no DFU device is found
  int postedReads = 0;
};

}  // namespace orx::test
