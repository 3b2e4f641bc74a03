#include "dialogs/WindowRelay.h"

#include <QMetaObject>
#include <QObject>

namespace orx {

WindowRelay::WindowRelay(QObject* window) : shared_(std::make_shared<Shared>()) { shared_->window = window; }

WindowRelay::~WindowRelay() {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->window = nullptr;
}

void WindowRelay::post(const std::weak_ptr<Shared>& weak, std::function<void()> f) {
  const std::shared_ptr<Shared> shared = weak.lock();
  if (!shared) return;
  // Held while queueing, so the window cannot be destroyed in between; Qt
  // drops the queued call if the window goes before it runs.
  std::lock_guard<std::mutex> lock(shared->mutex);
  if (shared->window == nullptr) return;
  QMetaObject::invokeMethod(shared->window, std::move(f), Qt::QueuedConnection);
}

}  // namespace orx
