#pragma once
// Memory channels from a channel file ("05,07074.00,LSB" a line, the format
// the panel reads and writes), so the simulator can start with a plan filled
// in and have channels changed while it runs.
#include <string>
#include <vector>

namespace sim {

class Transceiver;

// The file's channel records in file order. Throws std::invalid_argument
// naming the file and its first line that is not a channel.
std::vector<std::string> readChannelPlan(const std::string& path);

// Stores each record as a "P" command would; with `replaceAll` every other
// channel is emptied first.
void applyChannelPlan(Transceiver& radio, const std::vector<std::string>& records, bool replaceAll);

}  // namespace sim
