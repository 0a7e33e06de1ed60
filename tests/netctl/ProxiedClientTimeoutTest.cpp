// A station program behind the rig-control daemon as a proxy: rigctl talks
// to rigctld, rigctld to the panel's rig server, so the panel sees only the
// proxy's connection, which outlives the client. The client's "T 1" would
// stay keyed after it exits; the transmit time-out ends it. Real time and
// real processes (rigctld, rigctl, the simulator), generous bounds.
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <gtest/gtest.h>

#include "support/Eventually.h"
#include "support/RigctlOutput.h"
#include "PanelWithRigServer.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "netctl/PanelRigBackend.h"
#include "netctl/RigServer.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
constexpr int kLimit = 3;


// A loopback TCP port nobody listens on just now.
int freeLoopbackPort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  ::close(s);
  return port;
}

// Seconds (on the simulator's clock) of the first `command` logged at or after `from`.
std::optional<double> loggedAt(const fs::path& log, const std::string& command, double from) {
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    double t = 0;
    std::string c;
    if (fields >> t >> c && c == command && t >= from) return t;
  }
  return std::nullopt;
}

class ProxiedClientTimeoutTest : public PanelWithRigServer {
 protected:
  void SetUp() override {
    if (::system("rigctld --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "rigctld is missing (scripts/setup)";
    PanelWithRigServer::SetUp();
  }
  void configure(Panel& panel) override { panel.settings.txTimeoutSeconds = kLimit; }
  void TearDown() override {
    if (proxy_) {
      ::kill(proxy_, SIGTERM);
      ::waitpid(proxy_, nullptr, 0);
    }
    PanelWithRigServer::TearDown();
  }
  fs::path log() const { return dir_ / "sim.log"; }

  // rigctld with the network model in front of the panel's server.
  int startProxy() {
    const int port = freeLoopbackPort();
    const std::string backend = "127.0.0.1:" + std::to_string(server_->port());
    const std::string listen = std::to_string(port);
    proxy_ = ::fork();
    if (proxy_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      if (FILE* null = std::freopen("/dev/null", "w", stdout)) (void)null;
      if (FILE* null = std::freopen("/dev/null", "w", stderr)) (void)null;
      ::execlp("rigctld", "rigctld", "-m", "2", "-r", backend.c_str(), "-T", "127.0.0.1", "-t", listen.c_str(),
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    return port;
  }
  std::string rigctl(int port, const std::string& commands) {
    return rigctlOutput("-m 2 -r 127.0.0.1:" + std::to_string(port) + " " + commands);
  }

  pid_t proxy_ = 0;
};

TEST_F(ProxiedClientTimeoutTest, AKeyLeftByAClientThatExitedEndsAtTheTimeOut) {
  const int proxy = startProxy();
  // Up once it answers through to the panel.
  ASSERT_TRUE(eventually([&] { return rigctl(proxy, "f") == "14250000\n"; })) << "rigctld never answered";

  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(rigctl(proxy, "T 1"), "");  // the client exits; the proxy keeps its connection
  ASSERT_TRUE(eventually([&] { return loggedAt(log(), "K", 0).has_value(); })) << "the client's T 1 never keyed";
  const auto keyed = loggedAt(log(), "K", 0);
  EXPECT_TRUE(eventually([&] { return backend_->view().transmitting; }));

  ASSERT_TRUE(eventually([&] { return loggedAt(log(), "U", *keyed).has_value(); })) << "still keyed";
  const double after = *loggedAt(log(), "U", *keyed) - *keyed;
  std::printf("[ measured ] through rigctld: unkeyed %.3f s after the key (limit %d s, %.1f s after T 1 was sent)\n",
              after, kLimit, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  EXPECT_GE(after, kLimit - 0.05);  // the log's times are rounded to milliseconds
  EXPECT_LT(after, kLimit + 30.0);
  EXPECT_TRUE(eventually([&] { return !backend_->view().transmitting; }));
  // The proxy is still connected and still works, and nothing keyed again.
  EXPECT_EQ(rigctl(proxy, "t"), "0\n");
  EXPECT_FALSE(loggedAt(log(), "K", *keyed + after + 0.0005));
  // The engine stopped, its window model may be read here.
  panel_->engine.requestQuit();
  engine_.join();
  EXPECT_NE(panel_->frm.txtInfo.text.find("Transmit time-out: unkeyed after 3 s"), std::string::npos)
      << panel_->frm.txtInfo.text;
}

}  // namespace
}  // namespace zr
