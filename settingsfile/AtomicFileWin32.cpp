// The Windows variant of AtomicFile.cpp: the new content goes to a hidden file
// in the target's folder, is flushed, and MoveFileEx puts it over the target.
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "base/Format.h"
#include "settingsfile/AtomicFile.h"

namespace orx::cfg {
namespace {

struct Handle {
  HANDLE h = INVALID_HANDLE_VALUE;
  ~Handle() { close(); }
  bool close() {
    const bool ok = h == INVALID_HANDLE_VALUE || CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
    return ok;
  }
};

int errnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    default: return EIO;
  }
}

// A short name in the target's folder: the move must stay on one volume.
std::string tempNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const auto folder = std::filesystem::path(target).parent_path();
  const std::string name = strprintf(".orx-save-%lu-%u.tmp", GetCurrentProcessId(), counter.fetch_add(1));
  return (folder.empty() ? std::filesystem::path(name) : folder / name).string();
}

}  // namespace

FileWriteStatus WriteFileAtomically(const std::string& path, std::string_view bytes, WriteMode mode) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {FileResult::Failed, EISDIR};

  std::string temp;
  Handle file;
  for (int attempt = 0; attempt < 16 && file.h == INVALID_HANDLE_VALUE; ++attempt) {
    temp = tempNameFor(path);
    file.h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file.h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return {FileResult::Failed, errnoOf(GetLastError())};
  }
  if (file.h == INVALID_HANDLE_VALUE) return {FileResult::Failed, EEXIST};

  auto abandon = [&](DWORD error) {
    file.close();
    DeleteFileA(temp.c_str());
    return FileWriteStatus{FileResult::Failed, errnoOf(error)};
  };
  while (!bytes.empty()) {
    DWORD put = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
    if (!WriteFile(file.h, bytes.data(), chunk, &put, nullptr) || put == 0) return abandon(GetLastError());
    bytes.remove_prefix(put);
  }
  if (!FlushFileBuffers(file.h)) return abandon(GetLastError());
  if (!file.close()) return abandon(GetLastError());
  // The moved file must not stay hidden under the user's name.
  SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
  // CreateOnly moves without replacing, so an existing name is never taken over.
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (mode == WriteMode::Replace ? MOVEFILE_REPLACE_EXISTING : 0);
  if (!MoveFileExA(temp.c_str(), path.c_str(), flags)) {
    const DWORD error = GetLastError();
    if (mode == WriteMode::CreateOnly && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) {
      file.close();
      DeleteFileA(temp.c_str());
      return {FileResult::Exists, EEXIST};
    }
    return abandon(error);
  }
  return {};
}

FileReadStatus ReadWholeFile(const std::string& path, std::size_t maxSize) {
  Handle file;
  file.h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file.h == INVALID_HANDLE_VALUE) {
    const int error = errnoOf(GetLastError());
    return {error == ENOENT ? FileResult::NotFound : FileResult::Failed, error, {}};
  }
  // A pipe or a device could block or never end.
  if (GetFileType(file.h) != FILE_TYPE_DISK) return {FileResult::Failed, EINVAL, {}};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.h, &size)) return {FileResult::Failed, errnoOf(GetLastError()), {}};
  if (static_cast<unsigned long long>(size.QuadPart) > maxSize) return {FileResult::TooLarge, EFBIG, {}};

  // Read up to one byte past the limit: the file may grow while we read.
  std::string bytes;
  // Room for the whole file at once: growing in steps would copy it again
  // and again.
  bytes.reserve(static_cast<std::size_t>(size.QuadPart) + 1);
  char buf[16384];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.h, buf, sizeof buf, &got, nullptr)) return {FileResult::Failed, errnoOf(GetLastError()), {}};
    if (got == 0) break;
    bytes.append(buf, got);
    if (bytes.size() > maxSize) return {FileResult::TooLarge, EFBIG, {}};
  }
  return {FileResult::Ok, 0, std::move(bytes)};
}

}  // namespace orx::cfg
