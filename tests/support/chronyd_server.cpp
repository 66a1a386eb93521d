#include "support/chronyd_server.h"

#include <fcntl.h>
#include <glob.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "ntp/sntp_client.h"
#include "support/fake_ntp_server.h"

extern char** environ;

namespace vantorel::test {
namespace {

constexpr auto kStartLimit = std::chrono::seconds(5);
constexpr auto kStopLimit = std::chrono::seconds(2);

bool Executable(const std::string& path) {
  return ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string ChronydServer::ChronydPath() {
  for (const char* path : {"/usr/sbin/chronyd", "/usr/bin/chronyd", "/sbin/chronyd"}) {
    if (Executable(path)) return path;
  }
  return {};
}

std::string ChronydServer::FakeTimeLibrary() {
  glob_t found{};
  std::string path;
  if (::glob("/usr/lib/*/faketime/libfaketime.so.1", 0, nullptr, &found) == 0 &&
      found.gl_pathc > 0) {
    path = found.gl_pathv[0];
  }
  ::globfree(&found);
  return path;
}

ChronydServer::ChronydServer(const std::string& fakeOffset) {
  const std::string chronyd = ChronydPath();
  if (chronyd.empty()) {
    m_problem = "chronyd is not installed";
    return;
  }
  m_port = ClosedUdpPort();
  std::vector<std::string> args = {chronyd,
                                   "-x",
                                   "-d",
                                   "-L",
                                   "1",
                                   "port " + std::to_string(m_port),
                                   "bindaddress 127.0.0.1",
                                   "allow 127.0.0.1",
                                   "local stratum 10",
                                   "cmdport 0",
                                   "bindcmdaddress /",
                                   "pidfile " + m_dir.File("chronyd.pid").string()};
  if (::geteuid() != 0) args.insert(args.begin() + 1, "-U");

  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) env.emplace_back(*entry);
  if (!fakeOffset.empty()) {
    const std::string library = FakeTimeLibrary();
    if (library.empty()) {
      m_problem = "libfaketime is not installed";
      return;
    }
    env.push_back("LD_PRELOAD=" + library);
    env.push_back("FAKETIME=" + fakeOffset);
  }

  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (auto& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string log = m_dir.File("chronyd.log").string();
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = -1;
  const int spawned =
      posix_spawn(&pid, chronyd.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  m_pid = pid;
  if (spawned != 0) {
    m_pid = -1;
    m_problem = "cannot start chronyd";
    return;
  }
  m_ready = WaitUntilServing();
  if (!m_ready) m_problem = "chronyd did not serve within 5 s; its log: " + ReadFile(log);
}

bool ChronydServer::WaitUntilServing() {
  SntpClient client;
  client.SetTimeout(200);
  const auto limit = std::chrono::steady_clock::now() + kStartLimit;
  while (std::chrono::steady_clock::now() < limit) {
    int status = 0;
    if (::waitpid(static_cast<pid_t>(m_pid), &status, WNOHANG) == m_pid) {
      m_pid = -1;
      return false;
    }
    SntpResult result;
    // Query accepts only a synchronised mode-4 reply (LI not 3).
    if (client.Query("127.0.0.1", result, m_port)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

ChronydServer::~ChronydServer() {
  if (m_pid <= 0) return;
  ::kill(static_cast<pid_t>(m_pid), SIGTERM);
  const auto limit = std::chrono::steady_clock::now() + kStopLimit;
  int status = 0;
  while (::waitpid(static_cast<pid_t>(m_pid), &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > limit) {
      ::kill(static_cast<pid_t>(m_pid), SIGKILL);
      ::waitpid(static_cast<pid_t>(m_pid), &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace vantorel::test
