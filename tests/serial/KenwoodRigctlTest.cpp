// The real serial station-side client: rigctl with a Kenwood TS-2000-class
// model on the CAT port (a socat pair of pseudo-terminals), against the
// panel's engine and the simulator executable on the radio port. Real time:
// every wait ends as soon as what it waits for has happened, and its bound
// holds on a busy machine.
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/Eventually.h"
#include "support/RigctlOutput.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "cat/CatPort.h"

namespace zr {
namespace {

namespace fs = std::filesystem;


// Two linked pseudo-terminals: the panel's CAT port on COM2, the station
// program's serial device on `rig`; both survive the program reopening it.
class PtyLink {
 public:
  PtyLink(const fs::path& com2, const fs::path& rig) {
    pid_ = fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      const std::string a = "pty,raw,echo=0,link=" + com2.string();
      const std::string b = "pty,raw,echo=0,link=" + rig.string();
      if (const char* trace = std::getenv("ZR_SOCAT_TRACE")) {
        if (FILE* f = std::freopen(trace, "w", stderr)) (void)f;
        execlp("socat", "socat", "-v", a.c_str(), b.c_str(), static_cast<char*>(nullptr));
      }
      execlp("socat", "socat", a.c_str(), b.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 500 && !(fs::exists(com2) && fs::exists(rig)); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~PtyLink() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  PtyLink(const PtyLink&) = delete;
  PtyLink& operator=(const PtyLink&) = delete;

 private:
  pid_t pid_ = -1;
};

class KenwoodRigctlTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (::system("rigctl --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "rigctl is missing (scripts/setup)";
    if (::system("socat -V > /dev/null 2>&1") != 0) GTEST_SKIP() << "socat is missing (scripts/setup)";
    std::string pattern = (fs::temp_directory_path() / "zr3817-kenwood-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    previous_ = fs::current_path();
    fs::current_path(dir_);
    std::ofstream(dir_ / "PortSetup.txt", std::ios::binary) << "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n";
    std::ofstream(dir_ / "CATSetup.txt", std::ios::binary) << "2\r\n9600,N,8,1\r\ncomNone\r\nKenwood\r\n";
    // VFO B as the operator left it: 7 100.00 kHz USB.
    std::ofstream(dir_ / "ZR3817ini.txt", std::ios::binary) << " 1440 \r\n 990 \r\n0710000\r\nUSB\r\nSplit Off\r\nOFF\r\n";
    link_ = std::make_unique<PtyLink>(dir_ / "COM2", dir_ / "rig");
    sim_ = std::make_unique<SimulatorProcess>(dir_, std::vector<std::string>{"--log", (dir_ / "sim.log").string()});
    run_ = std::make_unique<PanelOnPty>(dir_);
    panel_ = &run_->panel;
    panel_->cat().setKenwoodDialect(GetParam());
    engine_ = std::thread([this] { panel_->run(); });
    ASSERT_TRUE(eventually([&] { return panel_->rigState.latest()->takesSettings; }))
        << "the panel never set up the radio";
  }
  void TearDown() override {
    if (panel_) {
      panel_->engine.requestQuit();
      if (engine_.joinable()) engine_.join();
    }
    sim_.reset();
    link_.reset();
    if (!dir_.empty()) {
      std::error_code ec;
      fs::current_path(previous_, ec);
      fs::remove_all(dir_, ec);
    }
  }

  // Runs rigctl with `model` on the station program's end; its output.
  std::string rigctl(const std::string& commands, int model = 2014) {
    return rigctlOutput("-m " + std::to_string(model) + " -r " + (dir_ / "rig").string() + " -s 9600 " + commands);
  }
  std::vector<std::string> simCommands() { return loggedCommands(dir_ / "sim.log"); }
  bool simReceived(const std::string& command) { return countOf(simCommands(), command) > 0; }
  std::string lastKey() { return lastKeyOf(simCommands()); }
  bool transmitting() { return panel_->rigState.latest()->transmitting; }

  fs::path dir_, previous_;
  std::unique_ptr<PtyLink> link_;
  std::unique_ptr<SimulatorProcess> sim_;
  std::unique_ptr<PanelOnPty> run_;
  Panel* panel_ = nullptr;
  std::thread engine_;
};

TEST_P(KenwoodRigctlTest, FrequencyModeSplitAndPttThroughTheCatPort) {
  if (!GetParam()) {
    // The FA/MD subset answers FA and MD as always, and nothing else: no
    // identity, no IF, so no transmit state and no keying.
    EXPECT_EQ(rigctl("t T 1").find("\n0\n"), std::string::npos);
    EXPECT_FALSE(simReceived("K"));
    const std::string ignored = panel_->frm.lblCatIgnored.caption;
    EXPECT_NE(ignored.find("ID;"), std::string::npos) << ignored;
    EXPECT_NE(ignored.find("IF;"), std::string::npos) << ignored;
    return;
  }
  // Over a real line the dialect refuses some settings with "?;" while the
  // panel is between exchanges (split, or a mode after a frequency); the
  // virtual-time tests carry them out. Kept visible until that is mended.
  // The simulator starts on 14 250.00 kHz USB.
  // 2200 Hz is the model's own SSB passband.
  EXPECT_EQ(rigctl("f m t"), "14250000\nUSB\n2200\n0\n");

  EXPECT_EQ(rigctl("F 7074000 f"), "7074000\n");
  EXPECT_TRUE(eventually([&] { return simReceived("F0707400"); }));

  // Split: transmit on VFO B (same mode on both), set through the split
  // frequency.
  EXPECT_EQ(rigctl("S 1 VFOB s"), "1\nVFOB\n");
  EXPECT_EQ(panel_->frm.lblSplit.caption, "Split On");
  EXPECT_EQ(rigctl("I 7080000 i"), "7080000\n");
  EXPECT_EQ(panel_->rigState.latest()->vfoBFreqCmd, "F0708000");
  EXPECT_EQ(rigctl("S 0 VFOA s"), "0\nVFOA\n");
  EXPECT_EQ(panel_->frm.lblSplit.caption, "Split Off");

  // A mode setting waits for the transceiver; the client's check behind
  // it is answered after it.
  rigctl("M LSB 0");
  EXPECT_TRUE(eventually([&] { return simReceived("M2"); }));
  EXPECT_EQ(rigctl("m"), "LSB\n2200\n");

  // The TS-480 model reads the same answers.
  EXPECT_EQ(rigctl("f m", 2028), "7074000\nLSB\n2400\n");

  // Keyed by T 1 until T 0; the next client reads the transmit state.
  EXPECT_EQ(rigctl("T 1"), "");
  EXPECT_TRUE(eventually([&] { return lastKey() == "K"; }));
  EXPECT_TRUE(eventually([&] { return transmitting(); }));
  EXPECT_EQ(rigctl("t"), "1\n");
  EXPECT_EQ(rigctl("T 0"), "");
  EXPECT_TRUE(eventually([&] { return lastKey() == "U"; }));
  EXPECT_TRUE(eventually([&] { return !transmitting(); }));
  EXPECT_EQ(rigctl("t"), "0\n");
}

INSTANTIATE_TEST_SUITE_P(DialectOn, KenwoodRigctlTest, ::testing::Values(true));
INSTANTIATE_TEST_SUITE_P(DialectOff, KenwoodRigctlTest, ::testing::Values(false));

}  // namespace
}  // namespace zr
