// CAT answer latency over a pseudo-terminal: the whole panel runs against the
// simulator, station software polls FA and MD on the CAT port, and the time
// from a request's last byte to the answer's first byte is measured with the
// panel idle and with the panel busy changing mode.
// Usage: bench_cat_latency [requests per case]
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
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
#include <vector>

#include "PanelOnPty.h"
#include "LatencyProbe.h"
#include "SimulatorProcess.h"

int main(int argc, char** argv) {
  const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  const auto dir = std::filesystem::temp_directory_path() / ("zr3817-catbench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);

  int master = -1, slave = -1;
  if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
    std::perror("openpty");
    return 1;
  }
  std::filesystem::create_symlink(::ttyname(slave), dir / "COM2");
  writeLines(dir / "PortSetup.txt", {"1", "9600,N,8,1", "comNone", "0"});
  writeLines(dir / "CATSetup.txt", {"2", "9600,N,8,1", "comNone", "Kenwood"});
  auto sim = std::make_unique<SimulatorProcess>(dir);

  PanelOnPty run(dir);
  zr::Panel& panel = run.panel;
  std::thread engine([&] { panel.run(); });

  CatClient client(master);
  // The panel answers once it has heard the transceiver.
  bool up = false;
  for (int i = 0; i < 100 && !up; ++i) up = client.ask("FA;", 14, 0.2) >= 0;
  if (!up) std::fprintf(stderr, "the panel never answered on the CAT port\n");

  std::vector<double> idleFa, idleMd, busyFa, busyMd;
  int missed[4] = {};
  auto sample = [&](std::vector<double>& into, int& miss, const char* request) {
    const double t = client.ask(request, 4 + (request[0] == 'F' ? 10 : 0));
    if (t < 0) ++miss;
    else into.push_back(t);
  };
  for (int i = 0; up && i < reps; ++i) {
    sample(idleFa, missed[0], "FA;");
    sample(idleMd, missed[1], "MD;");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // Busy: the operator has just picked a mode; the request arrives while
  // the service loop waits for the transceiver to take it.
  for (int i = 0; up && i < reps / 2; ++i) {
    panel.engine.post(chooseMode(i % 2 ? "USB" : "LSB"));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    sample(i % 2 ? busyMd : busyFa, missed[i % 2 ? 3 : 2], i % 2 ? "MD;" : "FA;");
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
  }

  panel.engine.requestQuit();
  engine.join();
  sim.reset();
  ::close(master);
  ::close(slave);
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(dir);

  std::printf("CAT answer latency over a pseudo-terminal (request's last byte to answer's first byte)\n");
  printLatency("FA, panel idle", idleFa, missed[0]);
  printLatency("MD, panel idle", idleMd, missed[1]);
  printLatency("FA, mode change in progress", busyFa, missed[2]);
  printLatency("MD, mode change in progress", busyMd, missed[3]);
  return up ? 0 : 1;
}
