// zr3817-sim: the transceiver simulator on a pseudo-terminal, linked as
// DIR/COMn so the panel opens it like the real radio's port.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <exception>
#include <string>

#include "sim/ChannelPlan.h"
#include "sim/PseudoTerminal.h"
#include "sim/SerialLine.h"
#include "sim/SimOptions.h"

namespace {

int gSignalPipe[2] = {-1, -1};

void onSignal(int sig) {
  const char c = sig == SIGUSR1 ? 'R' : sig == SIGUSR2 ? 'S' : sig == SIGHUP ? 'H' : 'Q';
  const int saved = errno;
  [[maybe_unused]] auto n = ::write(gSignalPipe[1], &c, 1);
  errno = saved;
}

void installSignals() {
  if (::pipe2(gSignalPipe, O_NONBLOCK | O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGTERM, SIGINT, SIGUSR1, SIGUSR2, SIGHUP}) sigaction(sig, &sa, nullptr);
}

class CommandLog {
 public:
  explicit CommandLog(const std::string& path) {
    if (path.empty()) return;
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
  }
  ~CommandLog() {
    if (file_) std::fclose(file_);
  }
  void write(double t, const std::string& command) {
    if (!file_) return;
    std::fprintf(file_, "%.3f ", t);
    std::fwrite(command.data(), 1, command.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
  }

 private:
  std::FILE* file_ = nullptr;
};

// Serves the line until a terminating signal arrives.
class Server {
 public:
  // `channelsPath`: the channel file SIGHUP reads again; without one SIGHUP ends the run.
  Server(sim::SerialLine& line, int fd, std::string channelsPath)
      : line_(line), fd_(fd), channelsPath_(std::move(channelsPath)) {}

  double elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

  void run() {
    while (!stop_) {
      releaseDue();
      flush();
      pollfd fds[2] = {{fd_, static_cast<short>(POLLIN | (out_.empty() ? 0 : POLLOUT)), 0},
                       {gSignalPipe[0], POLLIN, 0}};
      if (::poll(fds, 2, timeoutMs()) < 0 && errno != EINTR) throw std::runtime_error("poll failed");
      if (fds[1].revents & POLLIN) takeSignals();
      if (fds[0].revents & POLLIN) readInput();
    }
  }

 private:
  void enqueue(const std::vector<sim::Chunk>& chunks) { queue_.insert(queue_.end(), chunks.begin(), chunks.end()); }

  void releaseDue() {
    const double now = elapsed();
    if (auto d = line_.nextDeadline(); d && *d <= now) enqueue(line_.poll(now));
    while (!queue_.empty() && queue_.front().time <= now) {
      out_ += queue_.front().bytes;
      queue_.pop_front();
    }
  }

  void flush() {
    while (!out_.empty()) {
      const ssize_t n = ::write(fd_, out_.data(), out_.size());
      if (n <= 0) return;  // full (nobody reading): POLLOUT tells us when to go on
      out_.erase(0, static_cast<std::size_t>(n));
    }
  }

  int timeoutMs() const {
    double next = -1;
    if (!queue_.empty()) next = queue_.front().time;
    if (auto d = line_.nextDeadline(); d && (next < 0 || *d < next)) next = *d;
    if (next < 0) return -1;
    return static_cast<int>(std::ceil(std::max(0.0, next - elapsed()) * 1000.0));
  }

  void readInput() {
    char buf[4096];
    const ssize_t n = ::read(fd_, buf, sizeof buf);
    if (n > 0) enqueue(line_.receive(std::string_view(buf, static_cast<std::size_t>(n)), elapsed()));
  }

  void takeSignals() {
    char c;
    while (::read(gSignalPipe[0], &c, 1) == 1) {
      if (c == 'Q' || (c == 'H' && channelsPath_.empty())) stop_ = true;
      if (c == 'H' && !channelsPath_.empty()) reloadChannels();
      if (c == 'R') {
        const bool remote = !line_.model().state().remoteControl;
        line_.model().setRemoteControl(remote);
        std::fprintf(stderr, "zr3817-sim: %s control\n", remote ? "remote" : "local");
      }
      if (c == 'S') {
        line_.faults().silent = !line_.faults().silent;
        std::fprintf(stderr, "zr3817-sim: %s\n", line_.faults().silent ? "silent" : "answering");
      }
    }
  }

  void reloadChannels() {
    try {
      const auto records = sim::readChannelPlan(channelsPath_);
      sim::applyChannelPlan(line_.model(), records, false);
      std::fprintf(stderr, "zr3817-sim: %zu channels stored from %s\n", records.size(), channelsPath_.c_str());
    } catch (const std::exception& e) {
      // A bad edit leaves the channels as they were; the run goes on.
      std::fprintf(stderr, "zr3817-sim: %s\n", e.what());
    }
  }

  sim::SerialLine& line_;
  int fd_;
  std::string channelsPath_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::deque<sim::Chunk> queue_;
  std::string out_;
  bool stop_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  try {
    const sim::SimOptions opt = sim::SimOptions::parse(argc, argv);
    if (opt.help) {
      std::fputs(sim::SimOptions::usage().c_str(), stdout);
      return 0;
    }
    installSignals();
    sim::SerialLine line(opt.firmware, opt.settings);
    opt.apply(line);
    CommandLog log(opt.logPath);
    sim::PseudoTerminal pty;
    Server server(line, pty.masterFd(), opt.channelsPath);
    line.onCommand([&](double t, const std::string& c) { log.write(t, c); });
    const std::string linkPath = opt.dir + "/COM" + std::to_string(opt.port);
    pty.link(linkPath);
    std::printf("%s\n", pty.slavePath().c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "zr3817-sim: firmware type %d, %s control, %s -> %s\n", opt.firmware,
                 opt.local ? "local" : "remote", linkPath.c_str(), pty.slavePath().c_str());
    server.run();
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zr3817-sim: %s\n", e.what());
    return 1;
  }
}
