#include "core/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/FileReplace.h"

namespace zr {

namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

RuntimeError refused(const std::string& reason) { return RuntimeError(err::PathFileAccessError, reason); }

}  // namespace

std::string readTextFile(const std::string& path, std::size_t maxBytes) {
  // Non-blocking, so a pipe under the name cannot hold the engine at open().
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) {
    if (errno == ENOENT) throw RuntimeError(err::FileNotFound);
    throw fileError(errno);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) throw fileError(errno);
  if (S_ISDIR(st.st_mode)) throw refused("is a folder, not a file");
  if (!S_ISREG(st.st_mode)) throw refused("is not a regular file");
  if (static_cast<std::size_t>(st.st_size) > maxBytes)
    throw refused("is larger than " + std::to_string(maxBytes / 1024) + " KiB");

  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw fileError(errno);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
    // The file may grow while it is read.
    if (bytes.size() > maxBytes) throw refused("is larger than " + std::to_string(maxBytes / 1024) + " KiB");
  }
  return bytes;
}

std::vector<std::string> splitLines(std::string_view text, std::size_t maxLines) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  while (i < text.size() && lines.size() < maxLines) {
    const std::size_t end = text.find_first_of("\r\n", i);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(i));
      break;
    }
    lines.emplace_back(text.substr(i, end - i));
    i = end + 1;
    if (text[end] == '\r' && i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace zr
