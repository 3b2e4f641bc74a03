// Command line of orx-esc-sim.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/Cp210xEsc.h"
#include "tools/NvqEsc.h"
#include "tools/SimTypes.h"
#include "tools/SimulatedEsc.h"

namespace orx::sim {

struct SimOptions {
  EscKind kind = EscKind::Nvq;
  NvqConfig nvq;
  Cp210xConfig cp210x;
  std::string statePath;
  int reappearMs = 3000;
  bool pace = false;
  std::vector<Fault> faults;
  std::vector<std::pair<int, std::vector<int>>> blockReplies;
  bool dfu = true;       // NVQ: a USB DFU boot loader behind the jump
  bool dfuMode = false;  // NVQ: start in that boot loader
  bool help = false;
};

// The simulated ESC the options describe, faults and all, not yet started.
std::unique_ptr<SimulatedEsc> makeSimulatedEsc(const SimOptions& options);
// Starts it, in its DFU boot loader when the options say so. False with esc.error().
bool startSimulatedEsc(SimulatedEsc& esc, const SimOptions& options);

// False with `error` on anything it does not understand.
bool parseOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

std::string helpText();

}  // namespace orx::sim
