// The temporary files a save writes before renaming them over the target.
//
// Their names carry the saving process's id, so a later save can tell the
// debris of a save that was killed half-way from one still running.
#pragma once

#include <string>

namespace orx::cfg {

// A fresh hidden name such as ".orx-save-1234-7-0badf00d.tmp": short, so a
// long target name cannot push it past the name limit.
std::string NewTemporaryName();

// Removes, in the folder open as `folderFd`, the temporaries of this program
// whose process is gone (or that are older than a day, in case the id was
// reused). Only regular files of our own user that match the pattern exactly.
void RemoveStaleTemporaries(int folderFd);

}  // namespace orx::cfg
