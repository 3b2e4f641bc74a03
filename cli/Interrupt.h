// Ctrl-C and SIGTERM for orx-esc: the job running on the link worker is asked
// to stop through the worker's own stop request, so it ends at its next wait
// (a firmware block in flight is finished or failed first), the ports are
// closed, and the program exits with 130.
//
// Threading: installInterruptHandling() runs in main() before any other
// thread starts, so every thread inherits the blocked signals; one thread of
// its own then waits for them. setInterruptTarget() from any thread.
#pragma once

namespace orx {
class DeviceManager;
}

namespace orx::cli {

inline constexpr int kInterrupted = 130;

void installInterruptHandling();
// The engine to stop on an interrupt; nullptr while there is none.
void setInterruptTarget(DeviceManager* manager);

}  // namespace orx::cli
