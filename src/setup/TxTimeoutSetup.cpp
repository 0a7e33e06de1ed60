#include "setup/TxTimeoutSetup.h"

#include <charconv>
#include <filesystem>

#include "core/Errors.h"
#include "core/FileReplace.h"
#include "core/TextFile.h"

namespace zr {

int parseTxTimeout(const std::string& text) {
  int seconds = -1;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, seconds);
  if (ec != std::errc() || ptr != end || seconds < 0 || seconds > kTxTimeoutMax) return -1;
  return seconds;
}

int readTxTimeoutSetup(std::string& problem, const std::string& path) {
  problem.clear();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return kTxTimeoutDefault;
  std::vector<std::string> lines;
  try {
    lines = splitLines(readTextFile(path), 1);
  } catch (const RuntimeError& e) {
    problem = path + ": " + e.description;
    return kTxTimeoutDefault;
  }
  lines.resize(1);
  const int seconds = parseTxTimeout(lines[0]);
  if (seconds >= 0) return seconds;
  problem = path + ": line 1 is not a number of seconds from 0 to " + std::to_string(kTxTimeoutMax) +
            "; the time-out is " + describeTxTimeout(kTxTimeoutDefault);
  return kTxTimeoutDefault;
}

void writeTxTimeoutSetup(int seconds, const std::string& path) {
  replaceFile(path, joinLinesCrLf({
                        std::to_string(seconds),
                        "Line 1: transmit time-out, seconds keyed without a break (0 = off, at most " +
                            std::to_string(kTxTimeoutMax) + ")",
                    }));
}

std::string describeTxTimeout(int seconds) {
  if (seconds <= 0) return "off";
  if (seconds % 60 == 0) return std::to_string(seconds / 60) + " min";
  return std::to_string(seconds) + " s";
}

}  // namespace zr
