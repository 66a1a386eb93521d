#pragma once

#include <functional>

class QObject;

namespace vantorel {

// A logout or a kill (SIGTERM, SIGINT, SIGHUP) becomes a call on the context's thread, so the
// program ends the way closing its windows ends it: workers stopped, nothing left half done.
// Once per process; the call runs for every signal that comes.
void OnTermination(QObject* context, std::function<void()> quit);

}  // namespace vantorel
