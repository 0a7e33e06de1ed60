#include "core/WorkDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fs = std::filesystem;

namespace zr {

fs::path userWorkDir(const char* xdgConfigHome, const char* home) {
  if (xdgConfigHome && *xdgConfigHome && fs::path(xdgConfigHome).is_absolute())
    return fs::path(xdgConfigHome) / "zr3817";
  if (home && *home && fs::path(home).is_absolute()) return fs::path(home) / ".config" / "zr3817";
  return {};
}

std::string enterWorkDir(const fs::path& dir) {
  if (dir.empty()) return "no directory given";
  const fs::path absolute = fs::absolute(dir).lexically_normal();
  fs::path partial;
  for (const fs::path& part : absolute) {
    partial /= part;
    if (part.empty() || part == "/") continue;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
      return "cannot create " + partial.string() + ": " + std::strerror(errno);
  }
  if (::chdir(absolute.c_str()) != 0) return "cannot enter " + absolute.string() + ": " + std::strerror(errno);
  return {};
}

}  // namespace zr
