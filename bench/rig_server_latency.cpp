// Answer latency of the network rig server next to the CAT port's, in one
// run: the whole panel against the simulator, a station program asking "f"
// over TCP and one asking "FA;" on the CAT line, with the panel idle and
// while the operator's mode change holds the service loop; and the answer to
// a frequency setting ("F", answered "RPRT 0") in both cases. Time from the
// request's last byte to the answer's first byte.
// Usage: bench_rig_server_latency [requests per case]
#include <cstdlib>
#include <thread>

#include "LatencyProbe.h"
#include "PanelOnPty.h"
#include "netctl/PanelRigBackend.h"
#include "netctl/RigServer.h"

int main(int argc, char** argv) {
  const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  LatencyFolder folder("zr3817-rigbench");
  if (!folder.ready()) return 1;

  PanelOnPty run(folder.dir);
  zr::Panel& panel = run.panel;
  zr::PanelRigBackend backend(panel);
  zr::RigServer server(backend);
  if (auto failure = server.start("127.0.0.1", 0)) {
    std::fprintf(stderr, "rig server: %s\n", failure->c_str());
    return 1;
  }
  std::thread engine([&] { panel.run(); });

  CatClient cat(folder.catEnd);
  RigClient rig(server.port());
  // Both answer once the panel has heard the transceiver and set it up.
  bool up = false;
  for (int i = 0; i < 300 && !up; ++i) {
    up = backend.view().takesSettings && cat.ask("FA;", 14, 0.2) >= 0;
    if (!up) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (!up) std::fprintf(stderr, "the panel never set up the radio\n");

  std::vector<double> idleRig, idleCat, busyRig, busyCat, idleSet, busySet;
  int missed[6] = {};
  auto sample = [](std::vector<double>& into, int& miss, double t) {
    if (t < 0) ++miss;
    else into.push_back(t);
  };
  for (int i = 0; up && i < reps; ++i) {
    sample(idleRig, missed[0], rig.ask("f\n"));
    sample(idleCat, missed[1], cat.ask("FA;", 14));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // Busy: the operator has just picked a mode; the requests arrive while the
  // service loop waits for the transceiver to take it.
  for (int i = 0; up && i < reps / 2; ++i) {
    panel.engine.post(chooseMode(i % 2 ? "USB" : "LSB"));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    sample(busyRig, missed[2], rig.ask("f\n"));
    sample(busyCat, missed[3], cat.ask("FA;", 14));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
  }
  // Settings, each a new frequency so none is merged; the idle ones spaced
  // so the panel is done with one before the next.
  auto setting = [](int i) { return "F " + std::to_string(7000000 + 10 * (i % 1000)) + "\n"; };
  for (int i = 0; up && i < reps / 2; ++i) {
    sample(idleSet, missed[4], rig.ask(setting(i)));
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
  }
  for (int i = 0; up && i < reps / 2; ++i) {
    panel.engine.post(chooseMode(i % 2 ? "USB" : "LSB"));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    sample(busySet, missed[5], rig.ask(setting(i + 500)));
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
  }

  server.stop();
  panel.engine.requestQuit();
  engine.join();

  std::printf("Answer latency (request's last byte to answer's first byte)\n");
  printLatency("f over TCP, panel idle", idleRig, missed[0]);
  printLatency("FA; on the CAT port, panel idle", idleCat, missed[1]);
  printLatency("f over TCP, mode change", busyRig, missed[2]);
  printLatency("FA; on the CAT port, mode change", busyCat, missed[3]);
  printLatency("F over TCP, panel idle", idleSet, missed[4]);
  printLatency("F over TCP, mode change", busySet, missed[5]);
  return up ? 0 : 1;
}
