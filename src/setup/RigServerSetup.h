#pragma once
// The rig server's own settings file, "RigServer.txt" in the working
// directory, in the panel's file style: positional lines, then notes for a
// human. Line 1 "1" switches the server on, line 2 is the TCP port, line 3
// the address to listen on (empty: this computer only).
#include <string>

namespace zr {

inline constexpr const char* kRigServerFile = "RigServer.txt";
inline constexpr int kRigServerDefaultPort = 4532;

struct RigServerSetup {
  bool enabled = false;
  int port = kRigServerDefaultPort;
  std::string address;  // empty: 127.0.0.1 and ::1
  bool operator==(const RigServerSetup&) const = default;
};

// The settings in the file; a missing file gives the defaults (off). A file
// that cannot be read or holds no valid port leaves the server off and says
// why in `problem`.
RigServerSetup readRigServerSetup(std::string& problem, const std::string& path = kRigServerFile);

// Replaces the file atomically; throws RuntimeError as the other writers do.
void writeRigServerSetup(const RigServerSetup& setup, const std::string& path = kRigServerFile);

// A TCP port number 1..65535 as typed; 0 for anything else.
int parseRigServerPort(const std::string& text);

// Where the server listens, as the operator reads it ("127.0.0.1 and ::1
// port 4532").
std::string describeRigServer(const RigServerSetup& setup);

}  // namespace zr
