#pragma once

#include <functional>

namespace vantorel::test {

// Runs the body in a child process as the unprivileged user "nobody" (when started as root,
// as CI is: root reads and writes whatever the permission bits say) and gives its return
// value, or -1 when the child could not drop its rights or did not end normally. File
// permissions then bite as they do for a user.
int RunUnprivileged(const std::function<int()>& body);

// The ids of that user, for files made ready for it.
unsigned UnprivilegedUid();
unsigned UnprivilegedGid();

}  // namespace vantorel::test
