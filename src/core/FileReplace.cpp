#include "core/FileReplace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string_view>

namespace zr {

namespace {

std::string directoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Writing through a link keeps the link, as writing in place would; but a
// link is followed only to a regular file of the user's own, so a planted
// link cannot make the panel overwrite something else.
std::string resolveLink(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char buf[PATH_MAX];
  const char* target = ::realpath(path.c_str(), buf);
  struct stat t {};
  if (!target || ::stat(target, &t) != 0)
    throw RuntimeError(err::PathFileAccessError, "is a symbolic link to nothing that exists, not written");
  const std::string where = "is a symbolic link to " + std::string(target);
  if (!S_ISREG(t.st_mode)) throw RuntimeError(err::PathFileAccessError, where + ", not a regular file, not written");
  if (t.st_uid != ::geteuid())
    throw RuntimeError(err::PathFileAccessError, where + ", a file of another user, not written");
  return target;
}

constexpr std::string_view kTempSuffix = ".tmp";

std::string tempName(const std::string& base, pid_t pid, unsigned n) {
  return "." + base + "." + std::to_string(pid) + "." + std::to_string(n) + std::string(kTempSuffix);
}

bool allDigits(std::string_view s) {
  return !s.empty() && s.size() <= 10 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process that made a temporary file of tempName()'s pattern; 0 for
// any other name.
pid_t tempOwner(std::string_view name) {
  if (name.size() < 2 || name.front() != '.' || !name.ends_with(kTempSuffix)) return 0;
  name.remove_prefix(1);
  name.remove_suffix(kTempSuffix.size());
  const auto lastDot = name.rfind('.');
  if (lastDot == std::string_view::npos || !allDigits(name.substr(lastDot + 1))) return 0;
  name = name.substr(0, lastDot);
  const auto pidDot = name.rfind('.');
  if (pidDot == std::string_view::npos || pidDot == 0) return 0;
  const std::string_view digits = name.substr(pidDot + 1);
  long pid = 0;
  if (!allDigits(digits) || std::from_chars(digits.data(), digits.data() + digits.size(), pid).ec != std::errc())
    return 0;
  return pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? static_cast<pid_t>(pid) : 0;
}

// EPERM: it exists, under another user.
bool processAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// A new, exclusive file beside `target`; the name goes to `temp`.
int createTemp(const std::string& target, std::string& temp) {
  static std::atomic<unsigned> counter{0};
  const auto slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = dir + tempName(base, ::getpid(), counter++);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool writeAll(int fd, const std::string& contents) {
  const char* p = contents.data();
  std::size_t left = contents.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

// Makes the rename itself durable; the file is already replaced, so a
// failure here is not worth reporting.
void syncDirectory(const std::string& target) {
  const int fd = ::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

RuntimeError fileError(int errnoValue) {
  int number = err::PathFileAccessError;
  switch (errnoValue) {
    case ENOSPC:
    case EDQUOT: number = err::DiskFull; break;
    case EACCES:
    case EPERM: number = err::PermissionDenied; break;
    case ENOENT:
    case ENOTDIR: number = err::PathNotFound; break;
    case EIO: number = err::DeviceIoError; break;
    default: break;
  }
  return RuntimeError(number, std::strerror(errnoValue));
}

int removeStaleTemporaries(const std::string& dir) {
  namespace fs = std::filesystem;
  std::error_code ec;
  int removed = 0;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const pid_t owner = tempOwner(it->path().filename().native());
    if (owner == 0 || processAlive(owner)) continue;
    struct stat st {};
    const std::string path = it->path().string();
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (::unlink(path.c_str()) == 0) ++removed;
  }
  return removed;
}

bool pathIsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

void replaceFile(const std::string& path, const std::string& contents) {
  const std::string target = resolveLink(path);
  std::string temp;
  int fd = createTemp(target, temp);
  if (fd < 0) throw fileError(errno);
  // Keep the old file's permissions; a new one gets the usual 0666 & ~umask.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);

  bool ok = writeAll(fd, contents) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    throw fileError(error);
  }
  syncDirectory(target);
}

}  // namespace zr
