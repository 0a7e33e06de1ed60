#pragma once
// The real programs as child processes for the process-level tests: the
// panel, a private X server, xdotool (the simulator has its own helper). Every child is ended
// by its own id when its object goes; waits poll with generous deadlines.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zr::test {

using Seconds = std::chrono::duration<double>;

// Polls `ready` every 20 ms until it holds or `deadline` passes.
bool pollUntil(const std::function<bool()>& ready, Seconds deadline);

class Child {
 public:
  // Runs `argv` in `dir` with `env` added to the environment; stdout and
  // stderr go to `output`.
  Child(const std::vector<std::string>& argv, const std::filesystem::path& dir,
        const std::map<std::string, std::string>& env, const std::filesystem::path& output);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  pid_t pid() const { return pid_; }
  void signal(int sig) const;
  // True once it has ended (reaped); its status then in `status()`.
  bool ended();
  bool waitEnd(Seconds deadline);
  int status() const { return status_; }

 private:
  pid_t pid_ = -1;
  bool ended_ = false;
  int status_ = 0;
};

// A private X server on a free display, for the panel and xdotool.
class XServer {
 public:
  XServer();
  ~XServer();
  const std::string& display() const { return display_; }
  void kill();

 private:
  std::optional<Child> server_;
  std::string display_;
};

// Runs xdotool on `display` with `args`; its standard output.
std::string xdotool(const std::string& display, const std::vector<std::string>& args);

}  // namespace zr::test
