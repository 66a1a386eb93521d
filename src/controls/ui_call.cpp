#include "controls/ui_call.h"

#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace vantorel {
namespace {
constexpr auto kAbandonCheck = std::chrono::milliseconds(50);

enum class Stage { kPending, kRunning, kDone, kAbandoned };

struct Completion {
  std::mutex mutex;
  std::condition_variable changed;
  Stage stage = Stage::kPending;
};
}  // namespace

void CallOnObjectThread(QObject* context, const std::function<void()>& call,
                        const std::atomic<bool>& abandon) {
  if (context->thread() == QThread::currentThread()) {
    call();
    return;
  }
  if (abandon) return;
  auto completion = std::make_shared<Completion>();
  // The call refers to the caller's stack: it runs only while the caller still waits.
  const std::function<void()>* callee = &call;
  QMetaObject::invokeMethod(
      context,
      [completion, callee] {
        {
          std::lock_guard guard(completion->mutex);
          if (completion->stage == Stage::kAbandoned) return;
          completion->stage = Stage::kRunning;
        }
        (*callee)();
        std::lock_guard guard(completion->mutex);
        completion->stage = Stage::kDone;
        completion->changed.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(completion->mutex);
  for (;;) {
    if (completion->stage == Stage::kDone) return;
    if (completion->stage == Stage::kPending && abandon) {
      completion->stage = Stage::kAbandoned;
      return;
    }
    completion->changed.wait_for(lock, kAbandonCheck);
  }
}

}  // namespace vantorel
