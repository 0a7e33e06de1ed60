// CAT answer latency over a pseudo-terminal: the whole panel runs against the
// simulator, station software polls FA and MD on the CAT port, and the time
// from a request's last byte to the answer's first byte is measured with the
// panel idle and with the panel busy changing mode; then the same for the
// Kenwood dialect's IF answer.
// Usage: bench_cat_latency [requests per case]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "LatencyProbe.h"
#include "PanelOnPty.h"
#include "cat/CatPort.h"

int main(int argc, char** argv) {
  const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  LatencyFolder folder("zr3817-catbench");
  if (!folder.ready()) return 1;

  PanelOnPty run(folder.dir);
  zr::Panel& panel = run.panel;
  std::thread engine([&] { panel.run(); });

  CatClient client(folder.catEnd);
  // The panel answers once it has heard the transceiver.
  bool up = false;
  for (int i = 0; i < 100 && !up; ++i) up = client.ask("FA;", 14, 0.2) >= 0;
  if (!up) std::fprintf(stderr, "the panel never answered on the CAT port\n");

  std::vector<double> idleFa, idleMd, busyFa, busyMd, idleIf, busyIf;
  int missed[6] = {};
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

  // The Kenwood dialect: IF is the answer station programs poll.
  panel.engine.postTask("bench", [&panel] { panel.cat().setKenwoodDialect(true); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  constexpr int kIfLength = 38;
  for (int i = 0; up && i < reps; ++i) {
    const double t = client.ask("IF;", kIfLength);
    if (t < 0) ++missed[4];
    else idleIf.push_back(t);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  for (int i = 0; up && i < reps / 2; ++i) {
    panel.engine.post(chooseMode(i % 2 ? "USB" : "LSB"));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const double t = client.ask("IF;", kIfLength);
    if (t < 0) ++missed[5];
    else busyIf.push_back(t);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
  }

  panel.engine.requestQuit();
  engine.join();

  std::printf("CAT answer latency over a pseudo-terminal (request's last byte to answer's first byte)\n");
  printLatency("FA, panel idle", idleFa, missed[0]);
  printLatency("MD, panel idle", idleMd, missed[1]);
  printLatency("FA, mode change in progress", busyFa, missed[2]);
  printLatency("MD, mode change in progress", busyMd, missed[3]);
  printLatency("Kenwood IF, panel idle", idleIf, missed[4]);
  printLatency("Kenwood IF, mode change in progress", busyIf, missed[5]);
  return up ? 0 : 1;
}
