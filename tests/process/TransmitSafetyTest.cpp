// The real panel on a private X server against the real simulator over a
// pseudo-terminal, on the real clock: keyed with XMT ON, then ended by the
// ways an operator's session ends (the terminal closed, a SIGTERM with a
// dialog open, the display gone, a crash, the panel killed and started
// again), and the radio killed and started again on the same COM1 link, or
// its link removed and made again to a new pseudo-terminal.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>

#include "Processes.h"
#include "SimulatorProcess.h"

namespace zr::test {
namespace {

namespace fs = std::filesystem;

// Generous: several engineers build and test on the same two cores.
constexpr Seconds kStartDeadline{60};
constexpr Seconds kDeadline{30};

class TransmitSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zr-process-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::ofstream(dir_ / "PortSetup.txt") << "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n";
  }
  void TearDown() override {
    panel_.reset();
    sim_.reset();
    x_.reset();
    std::error_code ec;
    if (!HasFailure()) fs::remove_all(dir_, ec);
    else std::fprintf(stderr, "kept for a look: %s\n", dir_.c_str());
  }

  // The simulator on COM1, logging to `log`; waits for the link.
  void startRadio(const std::string& log) {
    fs::remove(dir_ / "COM1");
    sim_.emplace(dir_, std::vector<std::string>{"--log", (dir_ / log).string()});
    ASSERT_TRUE(pollUntil([&] { return fs::exists(dir_ / "COM1"); }, kStartDeadline));
  }
  // The panel on the private display; waits until its service loop runs
  // (the RF gain of the setup has gone out).
  void startPanel(const std::string& log) {
    if (!x_) x_ = std::make_unique<XServer>();
    auto env = panelEnv_;
    env["DISPLAY"] = x_->display();
    env["QT_QPA_PLATFORM"] = "xcb";
    panel_.emplace(std::vector<std::string>{ZR3817_PATH}, dir_, env, dir_ / "panel.out");
    const int before = count(log, "G00");
    ASSERT_TRUE(pollUntil([&] { return count(log, "G00") > before || panel_->ended(); }, kStartDeadline))
        << "the panel never served";
    ASSERT_FALSE(panel_->ended()) << "the panel ended at startup";
  }
  std::vector<std::string> log(const std::string& name) { return loggedCommands(dir_ / name); }
  int count(const std::string& name, const std::string& text) {
    const auto l = log(name);
    return static_cast<int>(std::count(l.begin(), l.end(), text));
  }
  // XMT ON from the keyboard (Alt+X) into the main window.
  void keyWithXmt(const std::string& logName) {
    const int before = count(logName, "K");
    std::string window;
    ASSERT_TRUE(pollUntil(
        [&] {
          window = xdotool(x_->display(), {"search", "--name", "^ZR-3817 "});
          return !window.empty();
        },
        kDeadline));
    window = window.substr(0, window.find('\n'));
    ASSERT_TRUE(pollUntil(
        [&] {
          xdotool(x_->display(), {"windowfocus", "--sync", window});
          xdotool(x_->display(), {"key", "alt+x"});
          // Pressed again only when surely lost: a second press would unkey.
          return pollUntil([&] { return count(logName, "K") > before; }, Seconds(10));
        },
        kDeadline))
        << "XMT ON never keyed";
    ASSERT_EQ(afterLastKey(log(logName)).substr(0, 1), "K");
  }
  // Setup > Port Setup from the keyboard: File, two menus right, first entry.
  void openPortSetup() {
    ASSERT_TRUE(pollUntil(
        [&] {
          for (const char* key : {"alt+f", "Right", "Right", "Return"}) {
            xdotool(x_->display(), {"key", key});
            usleep(200000);
          }
          return pollUntil([&] { return !xdotool(x_->display(), {"search", "--name", "^Port Setup$"}).empty(); },
                           Seconds(3));
        },
        kDeadline))
        << "the Port Setup dialog never opened";
  }
  // The last key command the radio received, and what came after it.
  static std::string afterLastKey(const std::vector<std::string>& l) {
    std::string key, tail;
    for (const auto& c : l) {
      if (c == "K" || c == "U") {
        key = c;
        tail.clear();
      } else if (!key.empty()) {
        tail += " " + c;
      }
    }
    return key + tail;
  }

  fs::path dir_;
  std::map<std::string, std::string> panelEnv_;  // added to the panel's environment
  std::unique_ptr<XServer> x_;
  std::optional<SimulatorProcess> sim_;
  std::optional<Child> panel_;
};

TEST_F(TransmitSafetyTest, TheTerminalClosingUnkeysAndEndsTheOrderlyWay) {
  startRadio("sim.log");
  startPanel("sim.log");
  keyWithXmt("sim.log");
  panel_->signal(SIGHUP);
  ASSERT_TRUE(panel_->waitEnd(kDeadline));
  EXPECT_TRUE(WIFEXITED(panel_->status())) << "ended by the signal, not by the program";
  EXPECT_EQ(afterLastKey(log("sim.log")), "U G00");
  EXPECT_TRUE(fs::exists(dir_ / "ZR3817ini.txt"));
}

TEST_F(TransmitSafetyTest, SigtermWithADialogOpenEndsTheDialogAndExitsTheNormalWay) {
  startRadio("sim.log");
  startPanel("sim.log");
  keyWithXmt("sim.log");
  openPortSetup();
  panel_->signal(SIGTERM);
  ASSERT_TRUE(panel_->waitEnd(kDeadline));
  EXPECT_EQ(afterLastKey(log("sim.log")), "U G00");
  // Only the orderly close writes the settings (a forced stop does not).
  EXPECT_TRUE(fs::exists(dir_ / "ZR3817ini.txt"));
}

// In the sanitizer build this is the leak check of a whole run; in the
// others, the same clean end.
TEST_F(TransmitSafetyTest, TheOrderlyCloseExitsWithStatusZeroAndNoSanitizerReport) {
  panelEnv_ = {{"ASAN_OPTIONS", "detect_leaks=1"}};
  startRadio("sim.log");
  startPanel("sim.log");
  keyWithXmt("sim.log");
  panel_->signal(SIGTERM);
  ASSERT_TRUE(panel_->waitEnd(kDeadline));
  std::ifstream in(dir_ / "panel.out");
  const std::string output{std::istreambuf_iterator<char>(in), {}};
  EXPECT_TRUE(WIFEXITED(panel_->status()) && WEXITSTATUS(panel_->status()) == 0)
      << "status " << panel_->status() << "\n" << output;
  EXPECT_EQ(output.find("Sanitizer"), std::string::npos) << output;
  EXPECT_EQ(afterLastKey(log("sim.log")), "U G00");
}

TEST_F(TransmitSafetyTest, TheDisplayGoneStillUnkeys) {
  startRadio("sim.log");
  startPanel("sim.log");
  keyWithXmt("sim.log");
  x_->kill();
  ASSERT_TRUE(panel_->waitEnd(kDeadline));
  EXPECT_EQ(afterLastKey(log("sim.log")).substr(0, 1), "U") << "status " << panel_->status();
}

TEST_F(TransmitSafetyTest, ACrashStillUnkeys) {
  startRadio("sim.log");
  startPanel("sim.log");
  keyWithXmt("sim.log");
  panel_->signal(SIGSEGV);
  ASSERT_TRUE(panel_->waitEnd(kDeadline));
  EXPECT_TRUE(WIFSIGNALED(panel_->status()) && WTERMSIG(panel_->status()) == SIGSEGV)
      << "it still ends as the crash it is";
  EXPECT_EQ(afterLastKey(log("sim.log")), "U");
}

TEST_F(TransmitSafetyTest, AKilledPanelStartedAgainUnkeysFirst) {
  startRadio("sim.log");
  startPanel("sim.log");
  keyWithXmt("sim.log");
  panel_->signal(SIGKILL);  // nothing can unkey here: the radio stays keyed
  ASSERT_TRUE(panel_->waitEnd(kDeadline));
  const std::size_t before = log("sim.log").size();
  EXPECT_EQ(afterLastKey(log("sim.log")), "K");
  panel_.reset();
  fs::remove(dir_ / "ZR3817.lock");  // left by the killed panel; harmless either way
  startPanel("sim.log");
  const auto l = log("sim.log");
  ASSERT_GT(l.size(), before);
  EXPECT_EQ(l[before], "U") << "the new panel's first command";
}

TEST_F(TransmitSafetyTest, ARadioKilledAndStartedAgainIsBackWithinFifteenSeconds) {
  startRadio("first.log");
  startPanel("first.log");
  keyWithXmt("first.log");
  ::kill(sim_->pid(), SIGKILL);  // the radio's interface gone, its link left behind
  sim_.reset();
  usleep(1500000);
  const auto back = std::chrono::steady_clock::now();
  startRadio("second.log");
  // The first sync of the service loop: the "U" after the unkey that
  // opens the port.
  auto synced = [&] { return count("second.log", "U") >= 2; };
  ASSERT_TRUE(pollUntil(synced, Seconds(60))) << "never back in service";
  const double seconds = Seconds(std::chrono::steady_clock::now() - back).count();
  std::printf("radio back to first sync: %.1f s\n", seconds);
  RecordProperty("recovery_seconds", std::to_string(seconds));
  const auto l = log("second.log");
  ASSERT_FALSE(l.empty());
  EXPECT_EQ(l.front(), "U") << "the unkey owed since the loss goes first";
  EXPECT_FALSE(panel_->ended());
  EXPECT_LE(seconds, 15.0);
}

// From the link's return to the first byte on the new pseudo-terminal.
double secondsToFirstByte(const std::chrono::steady_clock::time_point back, const std::function<bool()>& heard) {
  if (!pollUntil(heard, Seconds(60))) return -1;
  return Seconds(std::chrono::steady_clock::now() - back).count();
}

TEST_F(TransmitSafetyTest, ARadioWhoseLinkIsRemovedAndMadeAgainIsHeardFromOnTheNewLink) {
  startRadio("first.log");
  startPanel("first.log");
  sim_.reset();  // its SIGTERM removes the link
  ASSERT_FALSE(fs::exists(fs::symlink_status(dir_ / "COM1")));
  usleep(10000000);
  startRadio("second.log");
  const auto back = std::chrono::steady_clock::now();
  const double seconds = secondsToFirstByte(back, [&] { return !log("second.log").empty(); });
  ASSERT_GE(seconds, 0) << "never heard from on the new link";
  std::printf("link back to first byte: %.2f s\n", seconds);
  RecordProperty("link_return_seconds", std::to_string(seconds));
  EXPECT_EQ(log("second.log").front(), "U");
  ASSERT_TRUE(pollUntil([&] { return count("second.log", "G00") > 0; }, kStartDeadline)) << "never set up again";
  EXPECT_FALSE(panel_->ended());
}

TEST_F(TransmitSafetyTest, APanelStartedWhileItsLinkDanglesIsHeardFromWhenTheRadioComes) {
  fs::create_symlink("/dev/pts/zr-no-such-terminal", dir_ / "COM1");
  x_ = std::make_unique<XServer>();
  panel_.emplace(std::vector<std::string>{ZR3817_PATH}, dir_,
                 std::map<std::string, std::string>{{"DISPLAY", x_->display()}, {"QT_QPA_PLATFORM", "xcb"}},
                 dir_ / "panel.out");
  usleep(5000000);
  ASSERT_FALSE(panel_->ended());
  startRadio("radio.log");
  const auto back = std::chrono::steady_clock::now();
  const double seconds = secondsToFirstByte(back, [&] { return !log("radio.log").empty(); });
  ASSERT_GE(seconds, 0) << "never heard from";
  std::printf("link made to first byte: %.2f s\n", seconds);
  RecordProperty("link_made_seconds", std::to_string(seconds));
  EXPECT_EQ(log("radio.log").front(), "U");
  ASSERT_TRUE(pollUntil([&] { return count("radio.log", "G00") > 0; }, kStartDeadline)) << "never set up";
}

}  // namespace
}  // namespace zr::test
