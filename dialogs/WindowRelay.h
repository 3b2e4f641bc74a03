// Brings results from the link worker back to a window on its own thread.
//
// A window owns one relay. wrap() gives a function any thread may call; each
// call queues the wrapped function to the window's thread. Once the window is
// gone (its relay destroyed) calls do nothing, also calls already queued, so
// a late answer from the ESC never reaches a deleted window.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

class QObject;

namespace orx {

class WindowRelay {
 public:
  explicit WindowRelay(QObject* window);
  ~WindowRelay();
  WindowRelay(const WindowRelay&) = delete;
  WindowRelay& operator=(const WindowRelay&) = delete;

  template <class... Args>
  std::function<void(Args...)> wrap(std::function<void(Args...)> f) const {
    std::weak_ptr<Shared> shared = shared_;
    return [shared, f = std::move(f)](Args... args) {
      post(shared, [f, args...] { f(args...); });
    };
  }

 private:
  struct Shared {
    std::mutex mutex;
    QObject* window = nullptr;
  };
  static void post(const std::weak_ptr<Shared>& shared, std::function<void()> f);

  std::shared_ptr<Shared> shared_;
};

}  // namespace orx
