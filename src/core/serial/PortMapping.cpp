#include "core/serial/PortMapping.h"

#include <system_error>

#include "core/Errors.h"

namespace fs = std::filesystem;

namespace zr {
namespace {

fs::path comLink(int portNumber, const fs::path& dir) {
  if (portNumber < 1) throw RuntimeError(err::InvalidPortNumber);
  return dir / ("COM" + std::to_string(portNumber));
}

bool present(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

}  // namespace

fs::path serialDevicePath(int portNumber, const fs::path& dir) {
  const fs::path link = comLink(portNumber, dir);
  if (present(link)) return link;
  return "/dev/ttyS" + std::to_string(portNumber - 1);
}

std::string describeSerialPort(int portNumber, const fs::path& dir) {
  const fs::path link = comLink(portNumber, dir);
  if (!present(link)) return serialDevicePath(portNumber, dir).string();
  const std::string name = "COM" + std::to_string(portNumber);

  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(link, ec))) return name;
  // Follow the whole chain when it resolves; otherwise show the first hop.
  const fs::path resolved = fs::canonical(link, ec);
  if (!ec) return name + " -> " + resolved.string();
  const fs::path target = fs::read_symlink(link, ec);
  return name + " -> " + (ec ? std::string("?") : target.string()) + " (missing)";
}

}  // namespace zr
