// Command line of orx-esc-sim.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/Cp210xEsc.h"
#include "tools/NvqEsc.h"
#include "tools/SimTypes.h"

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
  bool help = false;
};

// False with `error` on anything it does not understand.
bool parseOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

std::string helpText();

}  // namespace orx::sim
