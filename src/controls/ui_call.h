#pragma once

#include <QObject>

#include <atomic>
#include <functional>

namespace vantorel {

// Runs the call on the context object's thread and waits for it, as a synchronous window
// message does. On that thread itself it runs at once. A caller on another thread stops
// waiting when `abandon` becomes true (the window is going away), so a worker never blocks
// a window that is waiting for it; a call abandoned so is dropped with its context object.
void CallOnObjectThread(QObject* context, const std::function<void()>& call,
                        const std::atomic<bool>& abandon);

}  // namespace vantorel
