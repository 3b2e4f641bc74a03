// The one DialogState that the window's thread and the link worker share.
//
// Threading: any thread may call read() and update(); both hold one mutex for
// the length of the callback, so keep callbacks short and never talk to the ESC
// inside them. After an update that changed anything, the change listener runs
// on the updating thread (outside the lock); the Qt window uses it to post a
// "sync widgets" event to its own thread, which then calls takeChanges().
#pragma once

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "DialogState.h"

namespace orx {

class SharedControls {
 public:
  template <class F>
  auto read(F&& f) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return f(static_cast<const DialogState&>(state_));
  }

  template <class F>
  auto update(F&& f) {
    bool changed = false;
    if constexpr (std::is_void_v<decltype(f(state_))>) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        f(state_);
        changed = state_.hasChanges();
      }
      if (changed) notify();
    } else {
      auto result = [&] {
        std::lock_guard<std::mutex> lock(mutex_);
        auto r = f(state_);
        changed = state_.hasChanges();
        return r;
      }();
      if (changed) notify();
      return result;
    }
  }

  // The changed controls with their current state, for the window's mirror.
  std::vector<std::pair<int, ControlState>> takeChanges();

  // Called after every update that changed a control. Set once, before threads start.
  void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

 private:
  void notify() {
    if (listener_) listener_();
  }

  mutable std::mutex mutex_;
  DialogState state_;
  std::function<void()> listener_;
};

}  // namespace orx
