#pragma once
// Port number -> device. "COMn" in the given directory (the working directory
// for the program) when such a file or symbolic link exists, e.g.
// `ln -s /dev/ttyUSB0 COM3`; otherwise /dev/ttyS<n-1>.
//
// The choice is made when the operator chooses the port (Apply, or the
// program's start) and kept while the port is recovered: a port reached
// through COMn is only ever reopened through COMn, wherever it then points.
#include <filesystem>
#include <string>

namespace zr {

// Where a port number leads, as decided when the port was chosen.
struct PortRoute {
  int port = 0;
  std::filesystem::path path;  // dir/COMn, or the built-in device
  bool viaLink = false;        // through a COMn entry
};

// A dangling COMn link still counts: opening it then fails, and a recovery
// waits for it. `fallbackPrefix` + (n-1) is the built-in device. Throws
// RuntimeError (err::InvalidPortNumber) for n < 1.
PortRoute choosePortRoute(int portNumber, const std::filesystem::path& dir = {},
                          const std::string& fallbackPrefix = "/dev/ttyS");

// True when the route's device is there now (a COMn link that resolves):
// a cheap look, nothing is opened.
bool routeReady(const PortRoute& route);

// Where the route leads, for the operator: "COM3 -> /dev/ttyUSB0", "COM3" for
// a plain file, "COM3 -> /dev/ttyUSB0 (missing)", "COM3 (missing)", or
// "/dev/ttyS2".
std::string describeRoute(const PortRoute& route);

std::filesystem::path serialDevicePath(int portNumber, const std::filesystem::path& dir = {});
std::string describeSerialPort(int portNumber, const std::filesystem::path& dir = {});

}  // namespace zr
