// CPU used by an idle panel connected to the simulator over a
// pseudo-terminal: the engine runs the real startup and service loop on the
// system clock; after startup settles, CPU time is measured over a window of
// steady receive. Usage: bench_idle_cpu [seconds]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "core/MainLoop.h"

int main(int argc, char** argv) {
  const double window = argc > 1 ? std::atof(argv[1]) : 20.0;
  const auto dir = std::filesystem::temp_directory_path() / ("zr3817-idle-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  std::ofstream("PortSetup.txt", std::ios::binary) << "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n";

  auto sim = std::make_unique<SimulatorProcess>(dir);

  PanelOnPty run(dir);
  zr::Panel& panel = run.panel;
  std::thread engine([&] { panel.run(); });

  std::this_thread::sleep_for(std::chrono::seconds(8));  // startup and remote setup
  const bool remote = panel.mainLoop().controlMode == "REMOTE";
  const double cpu0 = cpuSeconds();
  const auto t0 = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(window));
  const double cpu = cpuSeconds() - cpu0;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

  zr::InputEvent close;
  close.window = "frmZR3817";
  close.kind = zr::EventKind::Close;
  panel.engine.post(close);
  engine.join();
  sim.reset();
  std::filesystem::current_path("/");
  std::filesystem::remove_all(dir);

  std::printf("idle panel (%s control), %.1f s of steady receive: %.3f s CPU = %.2f %% of one core\n",
              remote ? "remote" : "NOT remote", wall, cpu, 100.0 * cpu / wall);
  return remote ? 0 : 1;
}
