#pragma once
// Replacing a file as a whole without ever leaving a half-written one: the
// new contents go to a temporary file beside it, reach the disk, and only
// then take the old file's place.
#include <string>

#include "core/Errors.h"

namespace zr {

// Throws RuntimeError on failure; the old file is then untouched and the
// temporary file removed. A symbolic link is kept and its target replaced,
// but only when the target is a regular file owned by the user; any other
// link is refused with the reason.
void replaceFile(const std::string& path, const std::string& contents);

// Removes from `dir` the temporary files that replaceFile() of a process
// that has ended left behind (killed between writing and renaming): only
// regular files of the user named ".NAME.PID.N.tmp" whose process is gone,
// never a live process's. Returns how many went; errors are ignored.
int removeStaleTemporaries(const std::string& dir = ".");

// A file error as the operator reads it: 61 disk full, 70 permission denied,
// 76 path not found, 57 device I/O error, 75 anything else; the system's text.
RuntimeError fileError(int errnoValue);

// True when `path` names an existing entry that is not a directory.
bool pathIsFile(const std::string& path);

}  // namespace zr
