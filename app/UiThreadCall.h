// Runs a function on the window's thread and waits for it, from any thread.
//
// The link worker uses it (through the prompter and the file chooser) to ask
// the user. close() is for shutdown: a thread still waiting for a call that has
// not started is released at once (the call then never runs), and later calls
// fail at once, so the window can stop the worker without a deadlock. A call
// already running on the window's thread is always waited for.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QObject;

namespace orx {

class UiThreadCall {
 public:
  // `context` lives on the window's thread and outlives this object.
  explicit UiThreadCall(QObject* context);
  ~UiThreadCall();
  UiThreadCall(const UiThreadCall&) = delete;
  UiThreadCall& operator=(const UiThreadCall&) = delete;

  // True when f ran; false when closed before it could.
  bool run(const std::function<void()>& f);
  void close();

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool closed = false;
  };
  QObject* context_;
  std::shared_ptr<Shared> shared_;
};

}  // namespace orx
