// The real executable over its pseudo-terminal, on the real clock.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Reads from `fd` until `end` has arrived or `timeout` seconds pass.
std::string readUntil(int fd, const std::string& end, double timeout) {
  std::string got;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
  while (got.size() < end.size() || got.compare(got.size() - end.size(), end.size(), end) != 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char buf[512];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) got.append(buf, static_cast<std::size_t>(n));
  }
  return got;
}

// The panel's end of the simulator's line, raw; -1 when it cannot be opened.
int openRaw(const fs::path& link) {
  const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  termios t{};
  if (fd < 0 || ::tcgetattr(fd, &t) != 0) return -1;
  ::cfmakeraw(&t);
  ::tcsetattr(fd, TCSANOW, &t);
  return fd;
}

class SimExecutable : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zr-sim-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  void start(std::vector<std::string> args) {
    args.insert(args.begin(), ZR3817_SIM_PATH);
    pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      const int devnull = ::open("/dev/null", O_WRONLY);
      ::dup2(devnull, 1);
      ::dup2(devnull, 2);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
  }

  // Exit status after SIGTERM, or -1.
  int stop() {
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path dir;
  pid_t pid = -1;
};

TEST_F(SimExecutable, ServesTheReportOverItsLinkAndLogsEachCommand) {
  const fs::path link = dir / "COM7";
  fs::create_symlink("/nonexistent/old-run", link);  // a stale link is replaced
  start({"--dir", dir.string(), "--port", "7", "--firmware", "1", "--log", (dir / "sim.log").string()});

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  std::error_code ec;
  while (fs::read_symlink(link, ec) == "/nonexistent/old-run" && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  // Renamed over, never removed first: the name is there all along.
  const fs::path target = fs::read_symlink(link, ec);
  ASSERT_FALSE(ec) << ec.message();
  ASSERT_NE(target, "/nonexistent/old-run");

  const int fd = openRaw(link);
  ASSERT_GE(fd, 0);

  ASSERT_EQ(::write(fd, "?\n", 2), 2);
  const std::string report = readUntil(fd, "#\n.\n", 10.0);
  EXPECT_NE(report.find("R1\n"), std::string::npos);
  EXPECT_NE(report.find("\n!\n"), std::string::npos);  // firmware type 1: "!" and no "Q"
  EXPECT_EQ(report.find("\nQ"), std::string::npos);
  ASSERT_GE(report.size(), 4u);
  EXPECT_EQ(report.substr(report.size() - 4), "#\n.\n");

  ASSERT_EQ(::write(fd, "UF0700000\n", 10), 10);
  EXPECT_EQ(readUntil(fd, "F0700000\n", 10.0), "U\nF0700000\n");
  ::close(fd);

  EXPECT_EQ(stop(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));

  std::ifstream log(dir / "sim.log");
  std::vector<std::string> lines;
  for (std::string l; std::getline(log, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 3u);
  const std::regex stamp(R"(^\d+\.\d{3} )");
  for (const auto& l : lines) EXPECT_TRUE(std::regex_search(l, stamp)) << l;
  EXPECT_EQ(lines[0].substr(lines[0].find(' ')), " ?");
  EXPECT_EQ(lines[1].substr(lines[1].find(' ')), " U");
  EXPECT_EQ(lines[2].substr(lines[2].find(' ')), " F0700000");
  EXPECT_LE(std::stod(lines[0]), std::stod(lines[1]));
}

TEST_F(SimExecutable, ChannelsComeFromAFileAndAgainOnHangup) {
  const fs::path plan = dir / "plan.txt";
  std::ofstream(plan) << "05,07074.00,LSB\r\n7 14070.00 USB\r\n";
  start({"--dir", dir.string(), "--port", "2", "--channels", plan.string()});
  const fs::path link = dir / "COM2";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!fs::exists(link) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const int fd = openRaw(link);
  ASSERT_GE(fd, 0);
  auto ask = [&](const std::string& command, const std::string& expected) {
    EXPECT_EQ(::write(fd, command.data(), command.size()), static_cast<ssize_t>(command.size()));
    // An empty `expected` is silence: read for a while and expect nothing.
    return expected.empty() ? readUntil(fd, "no answer", 0.3) : readUntil(fd, expected, 3.0);
  };
  EXPECT_EQ(ask("L05\n", "P0507074002\n"), "P0507074002\n");
  EXPECT_EQ(ask("L07\n", "P0714070001\n"), "P0714070001\n");
  EXPECT_EQ(ask("L00\n", ""), "");  // the built-in plan is gone

  std::ofstream(plan, std::ios::trunc) << "05,07075.00,CW\r\n";
  ::kill(pid, SIGHUP);
  std::string changed;
  for (int i = 0; i < 100 && changed != "P0507075004\n"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    changed = ask("L05\n", "\n");
  }
  EXPECT_EQ(changed, "P0507075004\n");
  EXPECT_EQ(ask("L07\n", "P0714070001\n"), "P0714070001\n");  // not in the file: kept
  ::close(fd);
  EXPECT_EQ(stop(), 0);
}

TEST_F(SimExecutable, RefusesAChannelFileWithALineThatIsNoChannel) {
  const fs::path plan = dir / "plan.txt";
  std::ofstream(plan) << "05,07074.00,LSB\nnot a channel\n";
  start({"--dir", dir.string(), "--channels", plan.string()});
  int status = 0;
  ::waitpid(pid, &status, 0);
  pid = -1;
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
}

TEST_F(SimExecutable, RefusesUnknownOptions) {
  start({"--dir", dir.string(), "--firmware", "4"});
  int status = 0;
  ::waitpid(pid, &status, 0);
  pid = -1;
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "COM1")));
}

}  // namespace
