// Wire timing fidelity of the radio link over a pseudo-terminal against the
// simulator: every kind of wait, measured on the steady clock against its
// nominal value. Usage: bench_link_timing [repetitions]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "core/SyncPoller.h"

namespace {

double seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

struct Stats {
  std::string name;
  double nominal;
  std::vector<double> samples;
  void print() const {
    auto s = samples;
    std::sort(s.begin(), s.end());
    const double median = s[s.size() / 2];
    std::printf("%-34s nominal %7.3f s  median %7.4f s  min %7.4f  max %7.4f  (median error %+6.1f ms)\n",
                name.c_str(), nominal, median, s.front(), s.back(), (median - nominal) * 1000);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const auto dir = std::filesystem::temp_directory_path() / ("zr3817-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  auto sim = std::make_unique<SimulatorProcess>(dir);

  PanelOnPty run(dir);
  zr::Panel& panel = run.panel;
  zr::PosixSerialPort& radio = run.radio;
  if (!run.openRadioPort()) {
    std::fprintf(stderr, "radio port did not open\n");
    return 1;
  }
  zr::RadioLink& link = panel.link();
  using clk = std::chrono::steady_clock;

  std::vector<Stats> all;
  auto measure = [&](const std::string& name, double nominal, const std::function<void()>& f) {
    Stats s{name, nominal, {}};
    for (int i = 0; i < reps; ++i) {
      const auto t0 = clk::now();
      f();
      s.samples.push_back(seconds(t0, clk::now()));
    }
    all.push_back(s);
  };

  for (double d : {0.01, 0.1, 0.2, 0.3, 0.45, 0.6}) {
    char name[64];
    std::snprintf(name, sizeof name, "gDelay(%.2f)", d);
    measure(name, d, [&] { link.gDelay(d); });
  }
  measure("gSendCommand(\"Z\", LF, 0.2)", 0.2, [&] {
    link.gSendCommand("Z", true, 0.2);
    radio.input();
  });
  // A reply read ends one quiet gap after the last byte: time the read of a
  // short answer that is already complete in the buffer.
  measure("\"Z\" LF 0.1 + read (0.06 s gap)", 0.16, [&] {
    link.gSendCommand("Z", true, 0.1);
    link.gReadResponse();
  });
  // The full report: 0.6 s wait, then the read; nominal is the wait plus the
  // gap, the report itself having arrived during the wait.
  measure("query \"?\" 0.6 s + read", 0.66, [&] {
    link.gSendCommand("?", true, 0.6);
    link.gReadResponse();
  });
  radio.close();
  sim.reset();

  // Reply timeout against a silent transceiver.
  auto silent = std::make_unique<SimulatorProcess>(dir, std::vector<std::string>{"--silent"});
  panel.link().SetUpRadioPort();
  measure("gReadResponse timeout (silent)", 0.8, [&] { link.gReadResponse(); });
  radio.close();
  silent.reset();
  std::filesystem::remove_all(dir);

  std::printf("radio link wire timing over a pseudo-terminal, %d repetitions each\n", reps);
  for (const auto& s : all) s.print();
  return 0;
}
