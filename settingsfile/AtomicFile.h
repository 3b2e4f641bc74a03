// Whole-file reads and writes for files the user keeps.
//
// A write goes to a new file beside the target, is flushed to disk and then
// renamed over the target, so the target holds either its old content or the
// whole new content, never a mix or a stump. No Qt. AtomicFile.cpp is the
// POSIX variant, AtomicFileWin32.cpp the Windows one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orx::cfg {

enum class FileResult {
  Ok,
  NotFound,  // read: no such file
  TooLarge,  // read: larger than the given limit
  Exists,    // write with CreateOnly: the name is taken, nothing was written
  Failed,    // anything else; see `error`
};

struct FileWriteStatus {
  FileResult result = FileResult::Ok;
  int error = 0;  // errno of the failing call, 0 on success
};

struct FileReadStatus {
  FileResult result = FileResult::Ok;
  int error = 0;
  std::string bytes;
};

enum class WriteMode {
  Replace,     // create the file or replace an existing one
  CreateOnly,  // only when no file of that name exists yet (Exists otherwise)
};

// Writes `bytes` to `path` through a temporary file in the same folder, so the
// file appears whole or not at all. On failure the old file is left as it was
// and no temporary remains; temporaries that a killed save left in that folder
// are removed. A symbolic link is followed (the file it names is replaced, the
// link kept), except a link of another user in a sticky world-writable folder,
// which is refused with EACCES as the kernel's protected-symlinks rule would.
FileWriteStatus WriteFileAtomically(const std::string& path, std::string_view bytes,
                                    WriteMode mode = WriteMode::Replace);

// Reads a whole regular file of at most `maxSize` bytes.
FileReadStatus ReadWholeFile(const std::string& path, std::size_t maxSize);

}  // namespace orx::cfg
