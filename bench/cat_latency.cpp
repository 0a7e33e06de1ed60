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
#include "SimulatorProcess.h"

namespace {

using Steady = std::chrono::steady_clock;

void writeLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::ofstream out(file, std::ios::binary);
  for (const auto& l : lines) out << l << "\r\n";
}

// Station software's end of the CAT line.
class Client {
 public:
  explicit Client(int fd) : fd_(fd) {}
  // Seconds from the request's last byte to the answer's first byte, or a
  // negative number when no answer came within `timeout`.
  double ask(const std::string& request, std::size_t answerSize, double timeout = 5.0) {
    drain();
    if (::write(fd_, request.data(), request.size()) != static_cast<ssize_t>(request.size())) return -1;
    const auto sent = Steady::now();
    double first = -1;
    std::size_t got = 0;
    while (got < answerSize) {
      const double left = timeout - std::chrono::duration<double>(Steady::now() - sent).count();
      pollfd p{fd_, POLLIN, 0};
      if (left <= 0 || ::poll(&p, 1, static_cast<int>(left * 1000) + 1) <= 0) return -1;
      if (first < 0) first = std::chrono::duration<double>(Steady::now() - sent).count();
      char buf[64];
      const ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n <= 0) return -1;
      got += static_cast<std::size_t>(n);
    }
    return first;
  }

 private:
  void drain() {
    char buf[256];
    pollfd p{fd_, POLLIN, 0};
    while (::poll(&p, 1, 0) > 0 && ::read(fd_, buf, sizeof buf) > 0) {
    }
  }
  int fd_;
};

void print(const char* name, std::vector<double> s, int missed) {
  if (s.empty()) {
    std::printf("%-30s no answers (%d missed)\n", name, missed);
    return;
  }
  std::sort(s.begin(), s.end());
  const double median = s[s.size() / 2];
  const double p99 = s[std::min(s.size() - 1, s.size() * 99 / 100)];
  std::printf("%-30s n=%3zu  median %7.1f ms  p99 %7.1f ms  max %7.1f ms  missed %d\n", name, s.size(),
              median * 1000, p99 * 1000, s.back() * 1000, missed);
}

zr::InputEvent chooseMode(const char* mode) {
  zr::InputEvent e;
  e.window = "frmZR3817";
  e.control = "cmbMode";
  e.kind = zr::EventKind::Click;
  e.text = mode;
  return e;
}

}  // namespace

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

  Client client(master);
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
  print("FA, panel idle", idleFa, missed[0]);
  print("MD, panel idle", idleMd, missed[1]);
  print("FA, mode change in progress", busyFa, missed[2]);
  print("MD, mode change in progress", busyMd, missed[3]);
  return up ? 0 : 1;
}
