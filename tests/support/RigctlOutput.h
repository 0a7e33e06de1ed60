#pragma once
// Hamlib's rigctl run as a station program runs it, and what the simulator
// logged meanwhile: shared by the tests that drive the real client.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace zr {

// `rigctl ARGS`, bounded to 60 s; its standard output (errors dropped).
inline std::string rigctlOutput(const std::string& args) {
  const std::string cmd = "timeout 60 rigctl " + args + " 2>/dev/null";
  std::string out;
  if (FILE* p = ::popen(cmd.c_str(), "r")) {
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    ::pclose(p);
  }
  return out;
}

inline long countOf(const std::vector<std::string>& commands, const std::string& command) {
  return static_cast<long>(std::count(commands.begin(), commands.end(), command));
}

// The last key command ("K" or "U") among `commands`, or "".
inline std::string lastKeyOf(const std::vector<std::string>& commands) {
  const auto k = std::find_if(commands.rbegin(), commands.rend(), [](const std::string& s) { return s == "K" || s == "U"; });
  return k == commands.rend() ? "" : *k;
}

}  // namespace zr
