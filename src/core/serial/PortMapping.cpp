#include "core/serial/PortMapping.h"

#include <system_error>

#include "core/Errors.h"

namespace fs = std::filesystem;

namespace zr {
namespace {

bool present(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

}  // namespace

PortRoute choosePortRoute(int portNumber, const fs::path& dir, const std::string& fallbackPrefix) {
  if (portNumber < 1) throw RuntimeError(err::InvalidPortNumber);
  const fs::path link = dir / ("COM" + std::to_string(portNumber));
  if (present(link)) return {portNumber, link, true};
  return {portNumber, fallbackPrefix + std::to_string(portNumber - 1), false};
}

bool routeReady(const PortRoute& route) {
  std::error_code ec;
  return fs::exists(route.path, ec);  // follows the link
}

std::string describeRoute(const PortRoute& route) {
  if (!route.viaLink) return route.path.string();
  const std::string name = "COM" + std::to_string(route.port);
  std::error_code ec;
  const fs::file_status link = fs::symlink_status(route.path, ec);
  if (!fs::exists(link)) return name + " (missing)";
  if (!fs::is_symlink(link)) return name;
  // Follow the whole chain when it resolves; otherwise show the first hop.
  const fs::path resolved = fs::canonical(route.path, ec);
  if (!ec) return name + " -> " + resolved.string();
  const fs::path target = fs::read_symlink(route.path, ec);
  return name + " -> " + (ec ? std::string("?") : target.string()) + " (missing)";
}

fs::path serialDevicePath(int portNumber, const fs::path& dir) { return choosePortRoute(portNumber, dir).path; }

std::string describeSerialPort(int portNumber, const fs::path& dir) {
  return describeRoute(choosePortRoute(portNumber, dir));
}

}  // namespace zr
