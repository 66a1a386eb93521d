#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/profile_file.h"

// The file system's part of the settings file: reading it whole, replacing it at once and the
// lock other processes honour. One implementation per system; the INI rules stay above it.
namespace vantorel::platform::file_ops {

// The folder a file is in, "." for a bare name.
inline std::filesystem::path FolderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// A file's bytes as one read found them, and what a replacement takes over from it.
struct RawFile {
  ProfileFile::State state = ProfileFile::State::kMissing;
  std::string bytes;
  std::string problem;  // why it could not be read
  // Who may read and write it, where the system keeps that with the file rather than with
  // its folder (mode and owner on POSIX).
  uint32_t mode = 0;
  uint32_t owner = 0;
  uint32_t group = 0;
};

// A lock that other processes honour too, on the file's folder rather than the file: every
// save replaces the file, and with it a lock held on it. Without one to be had, nothing is
// locked (the process-wide lock still holds).
class FolderLock {
 public:
  FolderLock(const std::filesystem::path& file, bool exclusive);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  intptr_t m_handle = -1;
};

RawFile ReadRaw(const std::filesystem::path& path);
// Puts the bytes in place of the file at once, a crash leaving the old or the new file and
// never an empty one; the new file keeps who may read the old one. False, with the reason
// logged and the old file as it was, when that cannot be done.
bool PutInPlace(const std::filesystem::path& target, const RawFile& old, std::string_view bytes);
bool CanRead(const std::filesystem::path& file);
// The file itself is not read-only (a file that is not there is not).
bool CanWrite(const std::filesystem::path& file);
// A new file can be made in the folder.
bool CanCreateIn(const std::filesystem::path& folder);

}  // namespace vantorel::platform::file_ops
