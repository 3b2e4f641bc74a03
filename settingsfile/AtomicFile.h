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

// Replaces (or creates) `path` with `bytes`. On failure the old file is left as
// it was and no temporary file remains. A symbolic link is followed, so the
// file it points to is replaced and the link kept.
FileWriteStatus WriteFileAtomically(const std::string& path, std::string_view bytes);

enum class NewFile { Created, Exists, Failed };

// Creates `path` empty only when nothing (no file, no link) has that name yet.
NewFile CreateNewFile(const std::string& path);

// Reads a whole regular file of at most `maxSize` bytes.
FileReadStatus ReadWholeFile(const std::string& path, std::size_t maxSize);

}  // namespace orx::cfg
