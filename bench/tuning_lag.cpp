// How far the transceiver's frequency trails the VFO A digits while a digit
// is held, against zr3817-sim over a pseudo-terminal. The operator's press and
// release come from another thread, as from the GUI; the engine thread runs
// the repeat loop. Usage: bench_tuning_lag [hold seconds] [repetitions]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "SimulatorProcess.h"
#include "PanelOnPty.h"
#include "core/Convert.h"
#include "core/StatusDisplay.h"
#include "panel/Tuning.h"

namespace {

using clk = std::chrono::steady_clock;

double seconds(clk::time_point a, clk::time_point b) { return std::chrono::duration<double>(b - a).count(); }

std::string displayed(const zr::Panel& panel) {
  std::string s;
  for (const auto& d : panel.frm.cmdF) s += d.caption;
  return s;
}

long value(const std::string& digits) { return zr::allDigits(digits, 7) ? std::stol(digits) : -1; }

// The transceiver's own frequency, read back with a full report.
long radioFrequency(zr::Panel& panel) {
  panel.link().gSendCommand("?", true, 0.6);
  panel.link().gReadResponse();
  const std::string f = panel.st.gFreqCmd;
  return value(f.substr(1));
}

int frequencyCommands(const std::filesystem::path& log) {
  std::ifstream in(log);
  std::string time, command;
  int n = 0;
  while (in >> time >> command) n += command.size() == 8 && command[0] == 'F';
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  const double hold = argc > 1 ? std::max(0.5, std::atof(argv[1])) : 10.0;
  const int reps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  const auto dir = std::filesystem::temp_directory_path() / ("zr3817-tuning-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const auto log = dir / "sim.log";
  auto sim = std::make_unique<SimulatorProcess>(dir, std::vector<std::string>{"--log", log.string()});

  PanelOnPty run(dir);
  zr::Panel& panel = run.panel;
  zr::Tuning tuning(panel);
  if (!run.openRadioPort()) {
    std::fprintf(stderr, "radio port did not open\n");
    return 1;
  }
  panel.st.gFwType = 2;

  std::printf("holding the 10 Hz digit of VFO A for %.1f s against zr3817-sim (firmware 2, 9600 baud)\n", hold);
  std::printf("%4s %9s %9s %8s %8s %9s %10s %10s %9s\n", "run", "steps", "steps/s", "sends", "sends/s",
              "seen (s)", "lag steps", "lag Hz", "final ok");
  for (int rep = 0; rep < reps; ++rep) {
    radioFrequency(panel);
    panel.display().gUpdateDisplay();
    const long startValue = value(displayed(panel));
    const int sendsBefore = frequencyCommands(log);

    // The release as the loop sees it: the digits shown then, and the
    // transceiver's frequency at that moment.
    clk::time_point releasePosted, releaseSeen;
    long shownAtRelease = -1, radioAtRelease = -1;
    int sendsAtRelease = 0;
    panel.engine.on(panel.frm.name(), "cmdF", zr::EventKind::MouseUp, [&](const zr::InputEvent&) {
      releaseSeen = clk::now();
      shownAtRelease = value(displayed(panel));
      sendsAtRelease = frequencyCommands(log);
      radioAtRelease = radioFrequency(panel);
      tuning.cmdF_MouseUp();
    });

    zr::InputEvent e;
    e.window = panel.frm.name();
    e.control = "cmdF";
    e.index = 6;
    e.button = 1;
    e.kind = zr::EventKind::MouseDown;
    const auto pressed = clk::now();
    panel.engine.post(e);
    std::thread operatorHand([&] {
      std::this_thread::sleep_until(pressed + std::chrono::duration<double>(hold));
      zr::InputEvent up = e;
      up.kind = zr::EventKind::MouseUp;
      releasePosted = clk::now();
      panel.engine.post(up);
    });
    while (shownAtRelease < 0) panel.engine.pump(0.05);
    operatorHand.join();

    const long finalRadio = radioFrequency(panel);
    const long finalShown = value(displayed(panel));
    const long steps = shownAtRelease - startValue;
    const int sends = sendsAtRelease - sendsBefore;
    const double held = seconds(pressed, releaseSeen);
    const long lag = shownAtRelease - radioAtRelease;
    std::printf("%4d %9ld %9.2f %8d %8.2f %9.3f %10ld %10ld %9s\n", rep + 1, steps, steps / held, sends, sends / held,
                seconds(releasePosted, releaseSeen), lag, lag * 10, finalRadio == finalShown ? "yes" : "NO");
  }
  std::printf("seen: from the release to the loop noticing it; lag: digits shown minus the transceiver's\n"
              "frequency at that moment (before the send that follows the release); final ok: the\n"
              "transceiver matches the digits after it.\n");

  run.radio.close();
  sim.reset();
  std::filesystem::remove_all(dir);
  return 0;
}
