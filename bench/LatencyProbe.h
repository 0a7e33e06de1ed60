#pragma once
// Station software's end of the panel for the latency benchmarks: the CAT
// line (a pty), the rig server (TCP), and how the figures are printed.
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "SimulatorProcess.h"
#include "core/InputEvent.h"

using Steady = std::chrono::steady_clock;

// Reads from `fd` after sending `request` until `done(answer)` holds; the
// seconds from the request's last byte to the answer's first byte, or a
// negative number when no answer came within `timeout`.
template <typename Done>
double timeAnswer(int fd, const std::string& request, Done done, double timeout) {
  char buf[256];
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, 0) > 0 && ::read(fd, buf, sizeof buf) > 0) {
  }
  if (::write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) return -1;
  const auto sent = Steady::now();
  double first = -1;
  std::string answer;
  while (!done(answer)) {
    const double left = timeout - std::chrono::duration<double>(Steady::now() - sent).count();
    if (left <= 0 || ::poll(&p, 1, static_cast<int>(left * 1000) + 1) <= 0) return -1;
    if (first < 0) first = std::chrono::duration<double>(Steady::now() - sent).count();
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) return -1;
    answer.append(buf, static_cast<std::size_t>(n));
  }
  return first;
}

// Station software's end of the CAT line.
class CatClient {
 public:
  explicit CatClient(int fd) : fd_(fd) {}
  double ask(const std::string& request, std::size_t answerSize, double timeout = 5.0) {
    return timeAnswer(fd_, request, [&](const std::string& a) { return a.size() >= answerSize; }, timeout);
  }

 private:
  int fd_;
};

// A station program on the rig server: one line asked, one line answered.
class RigClient {
 public:
  explicit RigClient(int port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~RigClient() {
    if (fd_ >= 0) ::close(fd_);
  }
  RigClient(const RigClient&) = delete;
  RigClient& operator=(const RigClient&) = delete;
  double ask(const std::string& line, double timeout = 5.0) {
    if (fd_ < 0) return -1;
    return timeAnswer(fd_, line, [](const std::string& a) { return !a.empty() && a.back() == '\n'; }, timeout);
  }

 private:
  int fd_ = -1;
};

inline void printLatency(const char* name, std::vector<double> s, int missed) {
  if (s.empty()) {
    std::printf("%-34s no answers (%d missed)\n", name, missed);
    return;
  }
  std::sort(s.begin(), s.end());
  const double median = s[s.size() / 2];
  const double p99 = s[std::min(s.size() - 1, s.size() * 99 / 100)];
  std::printf("%-34s n=%3zu  median %7.2f ms  p99 %7.2f ms  max %7.2f ms  missed %d\n", name, s.size(),
              median * 1000, p99 * 1000, s.back() * 1000, missed);
}

// The operator picks a mode in the main window.
inline zr::InputEvent chooseMode(const char* mode) {
  zr::InputEvent e;
  e.window = "frmZR3817";
  e.control = "cmbMode";
  e.kind = zr::EventKind::Click;
  e.text = mode;
  return e;
}

inline void writeLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::ofstream out(file, std::ios::binary);
  for (const auto& l : lines) out << l << "\r\n";
}

// A working folder for a latency run, made the current one: the simulator
// on COM1, the CAT line as COM2 with station software's end in `catEnd`,
// and the two settings files; all gone with the object.
class LatencyFolder {
 public:
  explicit LatencyFolder(const std::string& name)
      : dir(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    if (::openpty(&catEnd, &slave_, nullptr, nullptr, nullptr) != 0) {
      std::perror("openpty");
      return;
    }
    std::filesystem::create_symlink(::ttyname(slave_), dir / "COM2");
    writeLines(dir / "PortSetup.txt", {"1", "9600,N,8,1", "comNone", "0"});
    writeLines(dir / "CATSetup.txt", {"2", "9600,N,8,1", "comNone", "Kenwood"});
    sim_ = std::make_unique<SimulatorProcess>(dir);
  }
  ~LatencyFolder() {
    sim_.reset();
    if (catEnd >= 0) ::close(catEnd);
    if (slave_ >= 0) ::close(slave_);
    std::error_code ec;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
    std::filesystem::remove_all(dir, ec);
  }
  LatencyFolder(const LatencyFolder&) = delete;
  LatencyFolder& operator=(const LatencyFolder&) = delete;
  bool ready() const { return sim_ != nullptr; }

  const std::filesystem::path dir;
  int catEnd = -1;

 private:
  int slave_ = -1;
  std::unique_ptr<SimulatorProcess> sim_;
};
