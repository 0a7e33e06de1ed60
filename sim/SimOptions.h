#pragma once
// Command-line options of zr3817-sim.
#include <string>

#include "sim/LineSettings.h"

namespace sim {

class SerialLine;

struct SimOptions {
  std::string dir = ".";
  int port = 1;
  int firmware = 2;
  bool local = false;
  std::string logPath;
  LineSettings settings;
  double processingDelay = 0.005;
  double extraDelay = 0;
  std::size_t splitAfter = 0;
  double splitGap = 0;
  bool silent = false;
  std::string fault = "Z0";
  double warmup = 10.0;
  double tuneTime = 3.0;
  std::string channelsPath;  // empty: the built-in channels
  int minFrequency = 160000;          // 10 Hz units
  int refuseLow = -1, refuseHigh = -1;  // refused frequency settings, 10 Hz units
  bool help = false;

  // Throws std::invalid_argument with a message for the operator.
  static SimOptions parse(int argc, char** argv);
  static std::string usage();
  // Put the model and fault options into force. Throws
  // std::invalid_argument for a channel file it cannot use.
  void apply(SerialLine& line) const;
};

}  // namespace sim
