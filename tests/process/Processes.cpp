#include "Processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace zr::test {

namespace fs = std::filesystem;

bool pollUntil(const std::function<bool()>& ready, Seconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!ready()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

Child::Child(const std::vector<std::string>& argv, const fs::path& dir, const std::map<std::string, std::string>& env,
             const fs::path& output) {
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ > 0) return;
  // In the child: only what exec needs.
  if (::chdir(dir.c_str()) != 0) ::_exit(126);
  const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (out >= 0) {
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
  }
  for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  ::execvp(args[0], args.data());
  ::_exit(127);
}

Child::~Child() {
  if (ended()) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, &status_, 0);
}

void Child::signal(int sig) const {
  if (!ended_) ::kill(pid_, sig);
}

bool Child::ended() {
  if (!ended_ && ::waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
  return ended_;
}

bool Child::waitEnd(Seconds deadline) {
  return pollUntil([this] { return ended(); }, deadline);
}

XServer::XServer() {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
  // The server writes the display number it chose to the descriptor given.
  const std::string fd = std::to_string(fds[1]);
  server_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", fd, "-screen", "0", "1280x800x24", "-nolisten",
                                           "tcp"},
                  fs::temp_directory_path(), std::map<std::string, std::string>{}, "/dev/null");
  ::close(fds[1]);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  char buf[32];
  while (number.find('\n') == std::string::npos && ::poll(&p, 1, 30000) > 0) {
    const ssize_t n = ::read(fds[0], buf, sizeof buf);
    if (n <= 0) break;
    number.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  if (number.find('\n') == std::string::npos) throw std::runtime_error("Xvfb did not start");
  display_ = ":" + number.substr(0, number.find('\n'));
}

XServer::~XServer() { kill(); }

void XServer::kill() {
  if (!server_) return;
  server_->signal(SIGTERM);
  server_->waitEnd(Seconds(10));
  server_.reset();
}

std::string xdotool(const std::string& display, const std::vector<std::string>& args) {
  char name[] = "/tmp/zr-xdotool-XXXXXX";
  const int fd = ::mkstemp(name);
  if (fd >= 0) ::close(fd);
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  {
    Child run(argv, fs::temp_directory_path(), {{"DISPLAY", display}}, name);
    run.waitEnd(Seconds(30));
  }
  std::ifstream in(name);
  std::stringstream s;
  s << in.rdbuf();
  ::unlink(name);
  return s.str();
}

}  // namespace zr::test
