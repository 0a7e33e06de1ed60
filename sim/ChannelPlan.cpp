#include "sim/ChannelPlan.h"

#include <stdexcept>

#include "core/Errors.h"
#include "core/TextFile.h"
#include "lists/ChannelFile.h"
#include "sim/Transceiver.h"

namespace sim {

std::vector<std::string> readChannelPlan(const std::string& path) {
  std::string text;
  try {
    text = zr::readTextFile(path);
  } catch (const zr::RuntimeError& e) {
    throw std::invalid_argument("--channels: " + path + ": " + e.description);
  }
  const zr::ChannelFileContents plan = zr::parseChannelFile(text);
  if (!plan.skippedLines.empty())
    throw std::invalid_argument("--channels: " + path + ": line " + std::to_string(plan.skippedLines.front()) +
                                " is not a channel (expected like 05,07074.00,LSB)");
  return plan.records;
}

void applyChannelPlan(Transceiver& radio, const std::vector<std::string>& records, bool replaceAll) {
  auto& memory = radio.state().memory;
  if (replaceAll) memory.fill(std::nullopt);
  for (const auto& r : records)
    memory[static_cast<std::size_t>(std::stoi(r.substr(0, 2)))] = MemoryChannel{std::stoi(r.substr(2, 7)), r[9] - '0'};
}

}  // namespace sim
