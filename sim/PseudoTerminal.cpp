#include "sim/PseudoTerminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace sim {

namespace {
std::runtime_error systemError(const std::string& what) {
  return std::runtime_error(what + ": " + std::strerror(errno));
}
}  // namespace

PseudoTerminal::PseudoTerminal() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0) throw systemError("posix_openpt");
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
    const auto e = systemError("grantpt/unlockpt");
    ::close(master_);
    throw e;
  }
  char name[128];
  if (ptsname_r(master_, name, sizeof name) != 0) {
    const auto e = systemError("ptsname");
    ::close(master_);
    throw e;
  }
  slavePath_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (slave_ < 0) {
    const auto e = systemError("open " + slavePath_);
    ::close(master_);
    throw e;
  }
  // Raw until the panel configures it: no echo of commands back to us, no
  // line editing, no translation of line feeds.
  termios t{};
  if (tcgetattr(slave_, &t) == 0) {
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
  }
}

PseudoTerminal::~PseudoTerminal() {
  unlink();
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

void PseudoTerminal::link(const std::string& linkPath) {
  // Made beside it and renamed over an old link from an earlier run, so the
  // name never goes missing for a panel that is trying to reopen it.
  const std::string temp = linkPath + ".new-" + std::to_string(::getpid());
  ::unlink(temp.c_str());
  if (::symlink(slavePath_.c_str(), temp.c_str()) != 0) throw systemError("symlink " + linkPath);
  if (::rename(temp.c_str(), linkPath.c_str()) != 0) {
    const auto e = systemError("rename to " + linkPath);
    ::unlink(temp.c_str());
    throw e;
  }
  linkPath_ = linkPath;
}

void PseudoTerminal::unlink() {
  if (linkPath_.empty()) return;
  std::vector<char> target(slavePath_.size() + 2);
  const ssize_t n = ::readlink(linkPath_.c_str(), target.data(), target.size());
  if (n >= 0 && std::string(target.data(), static_cast<std::size_t>(n)) == slavePath_) ::unlink(linkPath_.c_str());
  linkPath_.clear();
}

}  // namespace sim
