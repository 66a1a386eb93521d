#include "platform/file_ops.h"

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <functional>

#include "platform/log.h"
#include "platform/win32_text.h"

namespace vantorel::platform::file_ops {
namespace {

// A folder cannot be locked as a file can: a named mutex per folder stands in for the lock,
// one that every process of the session sees.
std::wstring LockName(const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::absolute(FolderOf(file), error);
  if (error) folder = FolderOf(file);
  std::wstring key = folder.lexically_normal().wstring();
  for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
  return L"Local\\vantorel-settings-" + std::to_wstring(std::hash<std::wstring>{}(key));
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : m_handle(handle) {}
  ~Handle() {
    if (Valid()) ::CloseHandle(m_handle);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
  HANDLE Get() const { return m_handle; }

 private:
  HANDLE m_handle;
};

bool WriteAll(HANDLE file, std::string_view data) {
  while (!data.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size(), 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
    data.remove_prefix(written);
  }
  return true;
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& file, bool) {
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, LockName(file).c_str());
  if (mutex == nullptr) return;
  const DWORD waited = ::WaitForSingleObject(mutex, INFINITE);
  // An owner that ended without releasing it left the file whole: it is replaced at once.
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    ::CloseHandle(mutex);
    return;
  }
  m_handle = reinterpret_cast<intptr_t>(mutex);
}

FolderLock::~FolderLock() {
  if (m_handle == -1) return;
  const HANDLE mutex = reinterpret_cast<HANDLE>(m_handle);
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
}

RawFile ReadRaw(const std::filesystem::path& path) {
  RawFile raw;
  Handle file(::CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = ::GetLastError();
    raw.problem = ErrorText(error);
    raw.state = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                    ? ProfileFile::State::kMissing
                    : ProfileFile::State::kUnreadable;
    return raw;
  }
  raw.state = ProfileFile::State::kRead;
  char buffer[16384];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
      raw.problem = ErrorText(::GetLastError());
      raw.state = ProfileFile::State::kUnreadable;
      break;
    }
    if (got == 0) break;
    raw.bytes.append(buffer, got);
  }
  return raw;
}

// ReplaceFileW keeps the old file's security and attributes on the new one, so a shared or
// managed file keeps who may read it; a file that was not there is simply moved in.
bool PutInPlace(const std::filesystem::path& target, const RawFile& old, std::string_view bytes) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temporary = target;
  temporary +=
      L".tmp." + std::to_wstring(::GetCurrentProcessId()) + L"." + std::to_wstring(counter++);
  {
    Handle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
      Log("cannot write %s: %s", PathText(temporary).c_str(), ErrorText(::GetLastError()).c_str());
      return false;
    }
    // The data reaches the disk before the new file takes the old one's place.
    if (!WriteAll(file.Get(), bytes) || !::FlushFileBuffers(file.Get())) {
      Log("cannot write %s: %s", PathText(temporary).c_str(), ErrorText(::GetLastError()).c_str());
      ::DeleteFileW(temporary.c_str());
      return false;
    }
  }
  const bool existed = old.state == ProfileFile::State::kRead;
  const bool ok = existed ? ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                          : ::MoveFileExW(temporary.c_str(), target.c_str(),
                                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) {
    Log("cannot replace %s: %s", PathText(target).c_str(), ErrorText(::GetLastError()).c_str());
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool CanRead(const std::filesystem::path& file) {
  Handle handle(::CreateFileW(file.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return handle.Valid();
}

bool CanWrite(const std::filesystem::path& file) {
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;  // not there: nothing is read-only
  return (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

// Whether a folder takes new files shows only by making one: its rights are not its
// attributes.
bool CanCreateIn(const std::filesystem::path& folder) {
  std::filesystem::path probe = folder;
  probe /= L".vantorel-probe-" + std::to_wstring(::GetCurrentProcessId());
  Handle handle(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return handle.Valid();
}

}  // namespace vantorel::platform::file_ops
