#include "cli/Interrupt.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "device/DeviceManager.h"

namespace orx::cli {
namespace {

std::mutex targetMutex;
DeviceManager* target = nullptr;

void waitForInterrupt(sigset_t signals) {
  int signal = 0;
  if (sigwait(&signals, &signal) != 0) return;
  std::lock_guard lock(targetMutex);
  constexpr char text[] = "\norx-esc: interrupted - the job ends at its next wait\n";
  (void)!::write(STDERR_FILENO, text, sizeof text - 1);
  // A job waiting on a question at the terminal never reaches a wait: give
  // the stop a bound.
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::seconds(5));
    _exit(kInterrupted);
  }).detach();
  if (target != nullptr) target->stop();  // returns once the job has ended and the ports are closed
  _exit(kInterrupted);
}

}  // namespace

void installInterruptHandling() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread(waitForInterrupt, signals).detach();
}

void setInterruptTarget(DeviceManager* manager) {
  std::lock_guard lock(targetMutex);
  target = manager;
}

}  // namespace orx::cli
