#pragma once
// The directory the panel works in: every settings, list and channel file,
// the COMn links and the instance lock are addressed by bare name, so the
// program moves into that directory before it opens any of them.
#include <filesystem>
#include <string>

namespace zr {

// The per-user directory: $XDG_CONFIG_HOME/zr3817, or ~/.config/zr3817 when
// that is unset or not absolute (as the base directory rules require).
// Empty when neither variable gives an absolute path.
std::filesystem::path userWorkDir(const char* xdgConfigHome, const char* home);

// Creates `dir` and any missing parents (private, 0700: the files say which
// radio is where) and makes it the current directory. Empty on success,
// otherwise why not.
std::string enterWorkDir(const std::filesystem::path& dir);

}  // namespace zr
