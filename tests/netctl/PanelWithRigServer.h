#pragma once
// The panel's engine with its rig server on a free loopback port, and the
// simulator executable on a pseudo-terminal, for the tests that drive real
// clients against it. Real time: every wait ends as soon as what it waits
// for has happened, and its bound holds on a busy machine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "core/Panel.h"
#include "netctl/PanelRigBackend.h"
#include "netctl/RigServer.h"
#include "support/Eventually.h"
#include "support/RigctlOutput.h"

namespace zr {

namespace fs = std::filesystem;

class PanelWithRigServer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::system("rigctl --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "rigctl is missing (scripts/setup)";
    std::string pattern = (fs::temp_directory_path() / "zr3817-rigctl-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    previous_ = fs::current_path();
    fs::current_path(dir_);
    std::ofstream(dir_ / "PortSetup.txt", std::ios::binary) << "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n";
    std::vector<std::string> args{"--log", (dir_ / "sim.log").string()};
    for (const std::string& a : extraSimArgs()) args.push_back(a);
    sim_ = std::make_unique<SimulatorProcess>(dir_, args);
    run_ = std::make_unique<PanelOnPty>(dir_);
    panel_ = &run_->panel;
    configure(*panel_);
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

  virtual std::vector<std::string> extraSimArgs() const { return {}; }
  // Settings of the panel before it starts.
  virtual void configure(Panel&) {}

  // Runs rigctl with the network model against the server; its output.
  std::string rigctl(const std::string& commands) {
    return rigctlOutput("-m 2 -r 127.0.0.1:" + std::to_string(server_->port()) + " " + commands);
  }
  std::vector<std::string> simCommands() { return loggedCommands(dir_ / "sim.log"); }
  long simCount(const std::string& command) { return countOf(simCommands(), command); }
  bool simReceived(const std::string& command) { return simCount(command) > 0; }
  // The last key command the transceiver received.
  std::string lastKey() { return lastKeyOf(simCommands()); }

  fs::path dir_, previous_;
  std::unique_ptr<SimulatorProcess> sim_;
  std::unique_ptr<PanelOnPty> run_;
  Panel* panel_ = nullptr;
  std::unique_ptr<PanelRigBackend> backend_;
  std::unique_ptr<RigServer> server_;
  std::thread engine_;
};

}  // namespace zr
