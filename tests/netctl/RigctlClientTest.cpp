// The real station-side client: rigctl with the network model, against the
// panel's engine, the simulator executable on a pseudo-terminal and the rig
// server on a free loopback port. Real time: every wait ends as soon as what
// it waits for has happened, and its bound holds on a busy machine.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "netctl/PanelRigBackend.h"
#include "netctl/RigServer.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
constexpr double kPatience = 60.0;

bool eventually(const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(kPatience);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

class RigctlClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::system("rigctl --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "rigctl is missing (scripts/setup)";
    std::string pattern = (fs::temp_directory_path() / "zr3817-rigctl-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    previous_ = fs::current_path();
    fs::current_path(dir_);
    std::ofstream(dir_ / "PortSetup.txt", std::ios::binary) << "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n";
    sim_ = std::make_unique<SimulatorProcess>(dir_, std::vector<std::string>{"--log", (dir_ / "sim.log").string()});
    run_ = std::make_unique<PanelOnPty>(dir_);
    panel_ = &run_->panel;
    backend_ = std::make_unique<PanelRigBackend>(*panel_);
    server_ = std::make_unique<RigServer>(*backend_);
    ASSERT_FALSE(server_->start("127.0.0.1", 0));
    engine_ = std::thread([this] { panel_->run(); });
    ASSERT_TRUE(eventually([&] { return backend_->view().takesSettings; })) << "the panel never set up the radio";
  }
  void TearDown() override {
    if (panel_) {
      panel_->engine.requestQuit();
      if (engine_.joinable()) engine_.join();
      server_->stop();
    }
    sim_.reset();
    if (!dir_.empty()) {
      std::error_code ec;
      fs::current_path(previous_, ec);
      fs::remove_all(dir_, ec);
    }
  }

  // Runs rigctl with the network model against the server; its output.
  std::string rigctl(const std::string& commands) {
    const std::string cmd = "timeout 60 rigctl -m 2 -r 127.0.0.1:" + std::to_string(server_->port()) + " " +
                            commands + " 2>/dev/null";
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
      char buf[256];
      while (std::fgets(buf, sizeof buf, p)) out += buf;
      ::pclose(p);
    }
    return out;
  }
  std::vector<std::string> simCommands() { return loggedCommands(dir_ / "sim.log"); }
  bool simReceived(const std::string& command) {
    const auto c = simCommands();
    return std::find(c.begin(), c.end(), command) != c.end();
  }
  // The last key command the transceiver received.
  std::string lastKey() {
    const auto c = simCommands();
    const auto k = std::find_if(c.rbegin(), c.rend(), [](const std::string& s) { return s == "K" || s == "U"; });
    return k == c.rend() ? "" : *k;
  }

  fs::path dir_, previous_;
  std::unique_ptr<SimulatorProcess> sim_;
  std::unique_ptr<PanelOnPty> run_;
  Panel* panel_ = nullptr;
  std::unique_ptr<PanelRigBackend> backend_;
  std::unique_ptr<RigServer> server_;
  std::thread engine_;
};

TEST_F(RigctlClientTest, FrequencyModeAndPttThroughThePanel) {
  // The simulator starts on 14 250.00 kHz USB.
  EXPECT_EQ(rigctl("f m v s"), "14250000\nUSB\n2400\nVFOA\n0\nVFOA\n");

  // A setting is answered once the transceiver has it: the next query,
  // even from another client, sees it.
  EXPECT_EQ(rigctl("F 7074000"), "");
  EXPECT_TRUE(simReceived("F0707400"));
  EXPECT_EQ(rigctl("f"), "7074000\n");

  EXPECT_EQ(rigctl("M LSB 2400"), "");
  EXPECT_TRUE(simReceived("M2"));
  EXPECT_EQ(rigctl("m"), "LSB\n2400\n");

  // Keyed while the client holds it, unkeyed by its T 0.
  const std::string port = std::to_string(server_->port());
  FILE* client = ::popen(("timeout 60 rigctl -m 2 -r 127.0.0.1:" + port + " > /dev/null 2>&1").c_str(), "w");
  ASSERT_NE(client, nullptr);
  std::fputs("T 1\n", client);
  std::fflush(client);
  EXPECT_TRUE(eventually([&] { return lastKey() == "K"; }));
  EXPECT_TRUE(eventually([&] { return backend_->view().transmitting; }));
  EXPECT_EQ(rigctl("t"), "1\n");
  std::fputs("T 0\n", client);
  std::fflush(client);
  EXPECT_TRUE(eventually([&] { return lastKey() == "U"; }));
  std::fputs("q\n", client);
  ::pclose(client);
  EXPECT_TRUE(eventually([&] { return !backend_->view().transmitting; }));
  EXPECT_EQ(rigctl("t"), "0\n");

  // A client that keys and goes away leaves the transmitter unkeyed.
  auto keyDowns = [&] {
    const auto c = simCommands();
    return std::count(c.begin(), c.end(), "K");
  };
  const auto before = keyDowns();
  EXPECT_EQ(rigctl("T 1"), "");
  EXPECT_TRUE(eventually([&] { return keyDowns() > before && lastKey() == "U"; }));
  EXPECT_TRUE(eventually([&] { return !backend_->view().transmitting; }));
}

}  // namespace
}  // namespace zr
