#pragma once
// zr3817-sim as a child process for the benchmarks: started on port 1 in a
// folder, waited for until its COM1 link appears, ended with the object.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

class SimulatorProcess {
 public:
  SimulatorProcess(const std::filesystem::path& dir, std::vector<std::string> extraArgs = {}) {
    std::vector<std::string> args = {"zr3817-sim", "--dir", dir.string(), "--port", "1", "--firmware", "2"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    pid_ = fork();
    if (pid_ == 0) {
      // Its banner would break up the printed figures.
      if (FILE* null = std::freopen("/dev/null", "w", stdout)) (void)null;
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(ZR3817_SIM_PATH, argv.data());
      _exit(127);
    }
    for (int i = 0; i < 200 && !std::filesystem::exists(dir / "COM1"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~SimulatorProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  pid_t pid() const { return pid_; }
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

 private:
  pid_t pid_ = -1;
};

// The commands of a simulator's --log file (time, blank, command), in order.
inline std::vector<std::string> loggedCommands(const std::filesystem::path& log) {
  std::vector<std::string> out;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);)
    if (auto blank = line.find(' '); blank != std::string::npos) out.push_back(line.substr(blank + 1));
  return out;
}
