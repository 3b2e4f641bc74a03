#include "graph/DataLogSource.h"

#include <QMetaObject>
#include <QObject>

namespace orx::graph {

LogInbox::LogInbox(QObject* context, ProgressFn progress, LogFn log)
    : context_(context), progress_(std::move(progress)), log_(std::move(log)) {}

void LogInbox::progress(double percent) {
  std::lock_guard lock(mutex_);
  if (!context_) return;
  // Posting under the lock: detach() cannot slip in between the check and the
  // post, and Qt drops events posted to an object that is then deleted.
  QMetaObject::invokeMethod(context_, [fn = progress_, percent] { fn(percent); }, Qt::QueuedConnection);
}

void LogInbox::deliver(std::span<const std::uint8_t> bytes, datalog::DownloadEnd end) {
  std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  std::lock_guard lock(mutex_);
  if (!context_) return;
  QMetaObject::invokeMethod(
      context_, [fn = log_, data = std::move(copy), end]() mutable { fn(std::move(data), end); },
      Qt::QueuedConnection);
}

void LogInbox::detach() {
  requestStop();
  std::lock_guard lock(mutex_);
  context_ = nullptr;
}

}  // namespace orx::graph
