#include "UiThreadCall.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace orx {

UiThreadCall::UiThreadCall(QObject* context) : context_(context), shared_(std::make_shared<Shared>()) {}

UiThreadCall::~UiThreadCall() { close(); }

void UiThreadCall::close() {
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->closed = true;
  }
  shared_->changed.notify_all();
}

bool UiThreadCall::run(const std::function<void()>& f) {
  if (QThread::currentThread() == context_->thread()) {
    {
      std::lock_guard<std::mutex> lock(shared_->mutex);
      if (shared_->closed) return false;
    }
    f();
    return true;
  }

  enum class Stage { Waiting, Running, Done, Abandoned };
  auto stage = std::make_shared<Stage>(Stage::Waiting);
  std::shared_ptr<Shared> shared = shared_;
  std::unique_lock<std::mutex> lock(shared->mutex);
  if (shared->closed) return false;
  const std::function<void()>* call = &f;
  QMetaObject::invokeMethod(
      context_,
      [shared, stage, call] {
        {
          std::lock_guard<std::mutex> l(shared->mutex);
          if (*stage != Stage::Waiting) return;  // the caller gave up; `call` may be gone
          *stage = Stage::Running;
        }
        (*call)();
        {
          std::lock_guard<std::mutex> l(shared->mutex);
          *stage = Stage::Done;
        }
        shared->changed.notify_all();
      },
      Qt::QueuedConnection);
  shared->changed.wait(lock, [&] {
    return *stage == Stage::Done || (shared->closed && *stage == Stage::Waiting);
  });
  if (*stage == Stage::Done) return true;
  *stage = Stage::Abandoned;
  return false;
}

}  // namespace orx
