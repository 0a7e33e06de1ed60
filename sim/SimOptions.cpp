#include "sim/SimOptions.h"

#include <cstdlib>
#include <stdexcept>

#include "sim/ChannelPlan.h"
#include "sim/SerialLine.h"

namespace sim {

namespace {

double number(const std::string& option, const std::string& text) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(v >= 0)) throw std::invalid_argument(option + ": not a number: " + text);
  return v;
}

constexpr int kMaxFrequency = 2999999;

int whole(const std::string& option, const std::string& text, int lo, int hi) {
  const double v = number(option, text);
  if (v != static_cast<int>(v) || v < lo || v > hi)
    throw std::invalid_argument(option + ": expected " + std::to_string(lo) + ".." + std::to_string(hi));
  return static_cast<int>(v);
}

}  // namespace

std::string SimOptions::usage() {
  return "usage: zr3817-sim [--dir DIR] [--port N] [--firmware 1|2|3] [--local] [--log FILE]\n"
         "                  [--settings \"9600,N,8,1\"] [--baud N] [--processing-delay S]\n"
         "                  [--extra-delay S] [--split N:GAP] [--silent] [--fault Zn]\n"
         "                  [--warmup S] [--tune-time S] [--channels FILE] [--min-freq F]\n"
         "                  [--refuse-freq F[:F]]\n"
         "Frequencies F in 10 Hz units (1425000 = 14 250.00 kHz).\n"
         "Links DIR/COMn to a pseudo-terminal and answers like the ZR-3817 until SIGTERM/SIGINT.\n"
         "SIGUSR1 switches between remote and local control; SIGUSR2 switches silence on and off.\n"
         "--channels fills the memory channels from a channel file (05,07074.00,LSB a line);\n"
         "SIGHUP then stores the file's channels again over the memory.\n";
}

SimOptions SimOptions::parse(int argc, char** argv) {
  SimOptions o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
      return argv[++i];
    };
    if (a == "--dir") o.dir = value();
    else if (a == "--port") o.port = whole(a, value(), 1, 255);
    else if (a == "--firmware") o.firmware = whole(a, value(), 1, 3);
    else if (a == "--local") o.local = true;
    else if (a == "--log") o.logPath = value();
    else if (a == "--settings") o.settings = LineSettings::parse(value());
    else if (a == "--baud") o.settings.baud = whole(a, value(), 1, 4000000);
    else if (a == "--processing-delay") o.processingDelay = number(a, value());
    else if (a == "--extra-delay") o.extraDelay = number(a, value());
    else if (a == "--silent") o.silent = true;
    else if (a == "--fault") o.fault = value();
    else if (a == "--warmup") o.warmup = number(a, value());
    else if (a == "--tune-time") o.tuneTime = number(a, value());
    else if (a == "--channels") o.channelsPath = value();
    else if (a == "--min-freq") o.minFrequency = whole(a, value(), 0, kMaxFrequency);
    else if (a == "--refuse-freq") {
      const std::string v = value();
      const auto colon = v.find(':');
      o.refuseLow = whole(a, v.substr(0, colon), 0, kMaxFrequency);
      o.refuseHigh = colon == std::string::npos ? o.refuseLow : whole(a, v.substr(colon + 1), 0, kMaxFrequency);
    } else if (a == "--help" || a == "-h") o.help = true;
    else if (a == "--split") {
      const std::string v = value();
      const auto colon = v.find(':');
      if (colon == std::string::npos) throw std::invalid_argument("--split: expected N:GAP");
      o.splitAfter = static_cast<std::size_t>(whole(a, v.substr(0, colon), 1, 1 << 20));
      o.splitGap = number(a, v.substr(colon + 1));
    } else {
      throw std::invalid_argument("unknown option " + a + "\n" + usage());
    }
  }
  if (o.fault.empty() || o.fault[0] != 'Z') throw std::invalid_argument("--fault: expected Z followed by a code");
  return o;
}

void SimOptions::apply(SerialLine& line) const {
  auto& m = line.model();
  m.state().remoteControl = !local;
  m.state().fault = fault;
  m.setWarmupTime(warmup);
  m.setTuneTime(tuneTime);
  m.setMinFrequency(minFrequency);
  m.refuseFrequencies(refuseLow, refuseHigh);
  line.setProcessingDelay(processingDelay);
  line.faults() = Faults{silent, extraDelay, splitAfter, splitGap};
  if (!channelsPath.empty()) applyChannelPlan(m, readChannelPlan(channelsPath), true);
}

}  // namespace sim
