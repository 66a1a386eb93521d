#include "app/termination.h"

#include <QMetaObject>
#include <QObject>

#include <mutex>

#include "platform/termination_request.h"

namespace vantorel {
namespace {

// The object the requests go to while it lives; the platform's watcher may call at any time.
std::mutex g_targetMutex;
QObject* g_target = nullptr;

}  // namespace

void OnTermination(QObject* context, std::function<void()> quit) {
  {
    std::lock_guard lock(g_targetMutex);
    if (g_target != nullptr) return;
    g_target = context;
  }
  QObject::connect(context, &QObject::destroyed, [] {
    std::lock_guard lock(g_targetMutex);
    g_target = nullptr;
  });
  platform::WatchTerminationRequests([quit = std::move(quit)] {
    std::lock_guard lock(g_targetMutex);
    if (g_target != nullptr) QMetaObject::invokeMethod(g_target, quit, Qt::QueuedConnection);
  });
}

}  // namespace vantorel
