#include "setup/RigServerSetup.h"

#include <charconv>
#include <filesystem>

#include "core/FileReplace.h"
#include "core/TextFile.h"

namespace zr {

int parseRigServerPort(const std::string& text) {
  int port = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, port);
  if (ec != std::errc() || ptr != end || port < 1 || port > 65535) return 0;
  return port;
}

RigServerSetup readRigServerSetup(std::string& problem, const std::string& path) {
  problem.clear();
  RigServerSetup setup;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return setup;
  std::vector<std::string> lines;
  try {
    lines = splitLines(readTextFile(path), 3);
  } catch (const RuntimeError& e) {
    problem = path + ": " + e.description;
    return setup;
  }
  lines.resize(3);
  setup.port = parseRigServerPort(lines[1]);
  if (setup.port == 0) {
    problem = path + ": line 2 is not a port number 1 to 65535: \"" + lines[1] + "\"";
    setup.port = kRigServerDefaultPort;
    return setup;
  }
  setup.enabled = lines[0] == "1";
  setup.address = lines[2];
  return setup;
}

void writeRigServerSetup(const RigServerSetup& setup, const std::string& path) {
  replaceFile(path, joinLinesCrLf({
                        setup.enabled ? "1" : "0",
                        std::to_string(setup.port),
                        setup.address,
                        "Line 1: 1 = network rig server on, 0 = off",
                        "Line 2: TCP port (station programs expect 4532)",
                        "Line 3: address to listen on; empty = this computer only (127.0.0.1 and ::1)",
                    }));
}

std::string describeRigServer(const RigServerSetup& setup) {
  const std::string where = setup.address.empty() ? "127.0.0.1 and ::1" : setup.address;
  return where + " port " + std::to_string(setup.port);
}

}  // namespace zr
