// Port openers for tests that put a simulated ESC on a pty.
#pragma once

#include <string>

#include "link/PortOpener.h"

namespace orx::test {

// Opens `path` only for the adapter id `id`; every other search, and any
// search when `path` is empty, finds nothing.
PortOpener onlyFor(std::string id, std::string path);
// Finds nothing.
PortOpener noPort();

}  // namespace orx::test
