#include "support/unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantorel::test {
namespace {

constexpr unsigned kNobody = 65534;

}  // namespace

unsigned UnprivilegedUid() {
  if (::geteuid() != 0) return ::geteuid();
  const passwd* user = ::getpwnam("nobody");
  return user != nullptr ? user->pw_uid : kNobody;
}

unsigned UnprivilegedGid() {
  if (::geteuid() != 0) return ::getegid();
  const passwd* user = ::getpwnam("nobody");
  return user != nullptr ? user->pw_gid : kNobody;
}

int RunUnprivileged(const std::function<int()>& body) {
  const uid_t uid = UnprivilegedUid();
  const gid_t gid = UnprivilegedGid();
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (::geteuid() == 0) {
      if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 ||
          ::setresuid(uid, uid, uid) != 0 || ::geteuid() == 0) {
        ::_exit(255);
      }
    }
    ::_exit(body() & 0xFF);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status) == 255 ? -1 : WEXITSTATUS(status);
}

}  // namespace vantorel::test
