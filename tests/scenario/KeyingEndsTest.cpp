// Every way of keying the transmitter, ended by a close or by a forced stop
// at many moments of its sequence (every 10 ms over the first second, and
// on both sides of each wait), in virtual time against the simulated
// transceiver: whenever "K" was the last key command written, "U" reaches
// the radio before the port closes, and the radio ends unkeyed.
//
// The panel runs the common start once; each moment then goes on in a copy
// of the test process (fork), so a sweep costs a second or so of virtual
// time per moment instead of a whole startup.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

enum class Path { PttHeld, Xmt, Tune, AmpTune, ExternalPtt, SplitPtt, SplitXmt };
enum class Way { Close, ForcedStop };

struct Sweep {
  Path path;
  Way way;
  const char* name;
};

void PrintTo(const Sweep& sweep, std::ostream* os) { *os << sweep.name; }

// Well after the remote setup has finished and the loop serves.
constexpr double kStart = 10.0;

std::vector<double> moments(Way way) {
  std::vector<double> m;
  const int step = way == Way::Close ? 1 : 5;  // hundredths of a second
  for (int i = 0; i <= 100; i += step) m.push_back(i / 100.0);
  // Both sides of the waits: the sync's 0.2 s, the mode's 0.3 s, the
  // retune's 0.4 s, the split settle's 0.5 s, the shutdown's 0.3 s after
  // them, and the next sync.
  for (double w : {0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.9, 2.2, 2.4})
    for (double d : {-0.001, 0.001}) m.push_back(w + d);
  return m;
}

class KeyingEndsTest : public ::testing::TestWithParam<Sweep> {
 protected:
  void prepare(Path path) {
    const bool ext = path == Path::ExternalPtt;
    TempWorkDir::write("PortSetup.txt", std::string("1\r\n9600,N,8,1\r\ncomNone\r\n") + (ext ? "1" : "0") + "\r\n");
    if (path == Path::SplitPtt || path == Path::SplitXmt)
      TempWorkDir::write("ZR3817ini.txt", " 0 \r\n 0 \r\n1420000\r\nUSB\r\nSplit On\r\nOFF\r\n");
    auto& state = h.attachSimulator(2).model().state();
    if (path == Path::AmpTune) {
      state.amplifier = 4;  // in operate, ready to tune
      state.tune = 2;
    }
  }
  // The operator starts the transmission now.
  void key(Path path) {
    InputEvent e;
    e.window = "frmZR3817";
    switch (path) {
      case Path::PttHeld:
      case Path::SplitPtt:
        e.control = "cmdPTT";
        e.kind = EventKind::MouseDown;
        e.button = 1;
        break;
      case Path::Xmt:
      case Path::SplitXmt: e.control = "cmdXmit"; break;
      case Path::Tune: e.control = "cmdTune"; break;
      case Path::AmpTune: e.control = "cmdTuneAmp"; break;
      case Path::ExternalPtt: h.radio.setDsr(false); return;
    }
    h.panel.engine.post(e);
  }
  void end(Way way, double at) {
    if (way == Way::ForcedStop) {
      h.clock.scheduleAt(at, [this] { h.panel.engine.requestQuit(); });
      return;
    }
    h.closeAt(at);
  }
  // Empty when the radio was left as it must be.
  std::string verdict() {
    const auto& cmds = h.simulator().commands();
    int lastKey = -1, lastUnkey = -1, keys = 0;
    for (int i = 0; i < static_cast<int>(cmds.size()); ++i) {
      if (cmds[i].time < kStart) continue;
      if (cmds[i].text == "K") lastKey = i, ++keys;
      if (cmds[i].text == "U") lastUnkey = i;
    }
    std::string problem;
    if (lastKey > lastUnkey) problem = "\"K\" was the last key command";
    if (h.simulator().model().state().transmitting) problem += " the radio is left transmitting";
    if (h.radio.isOpen()) problem += " the port is still open";
    if (cmds.empty() || cmds.back().text != "G00") problem += " no \"G00\" at the end";
    if (problem.empty()) return keysSeen_ = keys, "";
    std::string tail;
    for (std::size_t i = cmds.size() > 8 ? cmds.size() - 8 : 0; i < cmds.size(); ++i)
      tail += " " + std::to_string(cmds[i].time - kStart).substr(0, 5) + ":" + cmds[i].text;
    return problem + " (last commands, s after the start:" + tail + ")";
  }

  TempWorkDir dir;
  EngineHarness h;
  int keysSeen_ = 0;
};

TEST_P(KeyingEndsTest, TheRadioIsUnkeyedBeforeThePortCloses) {
  const Sweep sweep = GetParam();
  prepare(sweep.path);
  std::vector<std::string> failures;
  int keyedRuns = 0;
  int report = -1;  // set in a child: where its verdict goes
  h.clock.scheduleAt(kStart, [&] {
    for (double m : moments(sweep.way)) {
      int fds[2];
      ASSERT_EQ(::pipe(fds), 0);
      std::fflush(nullptr);
      const pid_t pid = ::fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        ::close(fds[0]);
        report = fds[1];
        key(sweep.path);
        end(sweep.way, kStart + m);
        return;
      }
      ::close(fds[1]);
      std::string said;
      char buf[512];
      for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) said.append(buf, static_cast<std::size_t>(n));
      ::close(fds[0]);
      int status = 0;
      ::waitpid(pid, &status, 0);
      if (!WIFEXITED(status) || said.empty()) failures.push_back("at " + std::to_string(m) + " s: the copy died");
      else if (said[0] == 'K') ++keyedRuns;
      if (said.size() > 1) failures.push_back("at " + std::to_string(m) + " s: " + said.substr(1));
    }
    end(Way::Close, kStart);
  });
  h.panel.run();
  if (report >= 0) {
    const std::string v = verdict();
    const std::string line = (keysSeen_ > 0 ? "K" : "-") + v;
    [[maybe_unused]] const auto n = ::write(report, line.data(), line.size());
    ::_exit(0);
  }
  for (const auto& f : failures) ADD_FAILURE() << f;
  // The sweep means something only if the transmitter was keyed in most runs.
  EXPECT_GT(keyedRuns, static_cast<int>(moments(sweep.way).size()) / 2);
}

TEST(KeyingEnds, AnUnforeseenErrorEscapingTheEngineStillUnkeys) {
  TempWorkDir dir;
  EngineHarness h;
  TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
  auto& sim = h.attachSimulator(2);
  h.clickAt(kStart, "cmdXmit");
  h.panel.engine.on("frmZR3817", "cmdTest", EventKind::Click,
                    [](const InputEvent&) { throw std::logic_error("a fault in our own code"); });
  h.clickAt(kStart + 1, "cmdTest");
  EXPECT_THROW(h.panel.run(), std::logic_error);
  ASSERT_FALSE(sim.commands().empty());
  EXPECT_EQ(sim.commands().back().text, "U");
  EXPECT_FALSE(sim.model().state().transmitting);
  EXPECT_FALSE(h.radio.isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    EveryPath, KeyingEndsTest,
    ::testing::Values(Sweep{Path::PttHeld, Way::Close, "PttHeldClosed"},
                      Sweep{Path::PttHeld, Way::ForcedStop, "PttHeldStopped"},
                      Sweep{Path::Xmt, Way::Close, "XmtClosed"}, Sweep{Path::Xmt, Way::ForcedStop, "XmtStopped"},
                      Sweep{Path::Tune, Way::Close, "TuneClosed"}, Sweep{Path::Tune, Way::ForcedStop, "TuneStopped"},
                      Sweep{Path::AmpTune, Way::Close, "AmpTuneClosed"},
                      Sweep{Path::AmpTune, Way::ForcedStop, "AmpTuneStopped"},
                      Sweep{Path::ExternalPtt, Way::Close, "ExternalPttClosed"},
                      Sweep{Path::ExternalPtt, Way::ForcedStop, "ExternalPttStopped"},
                      Sweep{Path::SplitPtt, Way::Close, "SplitPttClosed"},
                      Sweep{Path::SplitPtt, Way::ForcedStop, "SplitPttStopped"},
                      Sweep{Path::SplitXmt, Way::Close, "SplitXmtClosed"},
                      Sweep{Path::SplitXmt, Way::ForcedStop, "SplitXmtStopped"}),
    [](const ::testing::TestParamInfo<Sweep>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zr::test
