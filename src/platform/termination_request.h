#pragma once

#include <functional>

namespace vantorel::platform {

// A logout or a kill (SIGTERM, SIGINT, SIGHUP; on Windows the console's close, logoff and
// shut-down events) becomes a call of the handler on a thread of the platform's, which must
// hand it on to where the program ends itself. Once per process; the handler runs for every
// request that comes. False, and the requests keep their default action, when it cannot be
// set up or was set up before.
bool WatchTerminationRequests(std::function<void()> handler);

}  // namespace vantorel::platform
