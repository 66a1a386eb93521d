#include "platform/file_ops.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/log.h"

namespace vantorel::platform::file_ops {
namespace {

constexpr mode_t kNewFileMode = 0644;

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& file, bool exclusive) {
  const int fd = ::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  while (::flock(fd, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
  }
  m_handle = fd;
}

FolderLock::~FolderLock() {
  if (m_handle >= 0) ::close(static_cast<int>(m_handle));  // closing releases the lock
}

RawFile ReadRaw(const std::filesystem::path& path) {
  RawFile raw;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    raw.problem = std::strerror(errno);
    raw.state = errno == ENOENT ? ProfileFile::State::kMissing : ProfileFile::State::kUnreadable;
    return raw;
  }
  raw.state = ProfileFile::State::kRead;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    raw.problem = std::strerror(errno);
    raw.state = ProfileFile::State::kUnreadable;
  }
  raw.mode = info.st_mode & 07777;
  raw.owner = info.st_uid;
  raw.group = info.st_gid;
  char buffer[16384];
  while (raw.state == ProfileFile::State::kRead) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      raw.problem = std::strerror(errno);
      raw.state = ProfileFile::State::kUnreadable;
      break;
    }
    raw.bytes.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return raw;
}

// The new file takes the old one's mode and owner, so a shared or managed file keeps who may
// read it.
bool PutInPlace(const std::filesystem::path& target, const RawFile& old, std::string_view bytes) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temporary = target;
  temporary += ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
  const bool existed = old.state == ProfileFile::State::kRead;
  const mode_t mode = existed ? static_cast<mode_t>(old.mode) : kNewFileMode;
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) {
    Log("cannot write %s: %s", PathText(temporary).c_str(), std::strerror(errno));
    return false;
  }
  if (existed) {
    if (old.owner != ::geteuid() || old.group != ::getegid()) {
      (void)!::fchown(fd, old.owner, old.group);  // allowed to root only
    }
    (void)!::fchmod(fd, mode);  // the creation mode went through the umask
  }
  // The data reaches the disk before the rename makes it the file: a crash then leaves
  // either the old or the new file, never an empty one.
  const bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ::close(fd);
  if (!ok || ::rename(temporary.c_str(), target.c_str()) != 0) {
    Log("cannot replace %s: %s", PathText(target).c_str(), std::strerror(errno));
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool CanRead(const std::filesystem::path& file) {
  return ::access(file.c_str(), R_OK) == 0;
}

bool CanWrite(const std::filesystem::path& file) {
  return ::access(file.c_str(), W_OK) == 0 || errno == ENOENT;
}

bool CanCreateIn(const std::filesystem::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace vantorel::platform::file_ops
