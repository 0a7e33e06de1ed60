// The transmit time-out on every keying path, in virtual time against the
// simulated transceiver: a transmission kept up for the limit is ended the
// way its own release ends it, with a beep and the text; a break starts a
// new count; a line or button still held does not key again by itself; a
// limit of 0 never unkeys.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "core/RadioLink.h"
#include "netctl/PanelRigBackend.h"
#include "panel/Transmit.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

enum class Path { PttHeld, ExternalPtt, Xmt, Tune, AmpTune, SplitPtt, SplitXmt, Client };

struct Case {
  Path path;
  const char* name;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// Well after the remote setup; the limit stays below the amplifier tune's own 20 s.
constexpr double kStart = 10.0;
constexpr int kLimit = 8;
// How late after the limit the unkey may reach the radio: the time-out acts
// at the next pump, at most one exchange of the link away.
constexpr double kLateness = 1.0;
// The radio logs a command when its last byte arrives: the key and the
// unkey may be paced a few microseconds apart differently.
constexpr double kRounding = 1e-3;

class TransmitTimeoutTest : public ::testing::TestWithParam<Case> {
 protected:
  TransmitTimeoutTest() {
    const Path path = GetParam().path;
    const bool ext = path == Path::ExternalPtt;
    TempWorkDir::write("PortSetup.txt", std::string("1\r\n9600,N,8,1\r\ncomNone\r\n") + (ext ? "1" : "0") + "\r\n");
    if (path == Path::SplitPtt || path == Path::SplitXmt)
      TempWorkDir::write("ZR3817ini.txt", " 0 \r\n 0 \r\n1420000\r\nUSB\r\nSplit On\r\nOFF\r\n");
    auto& sim = h.attachSimulator(2);
    if (path == Path::AmpTune) {
      sim.model().state().amplifier = 4;  // in operate, ready to tune
      sim.model().state().tune = 2;
      sim.model().setTuneTime(100);  // a tune that never finishes by itself
    }
    h.panel.settings.txTimeoutSeconds = kLimit;
  }

  bool holds() const {
    const Path p = GetParam().path;
    return p == Path::PttHeld || p == Path::ExternalPtt || p == Path::SplitPtt || p == Path::Client;
  }
  void post(const std::string& control, EventKind kind = EventKind::Click, int button = 0) {
    InputEvent e;
    e.window = "frmZR3817";
    e.control = control;
    e.kind = kind;
    e.button = button;
    h.panel.engine.post(e);
  }
  void client(bool on) {
    RigSetting s;
    s.kind = RigSetting::Kind::Ptt;
    s.on = on;
    tickets_.push_back(backend_.submit(s, 1, [] {}));
  }
  // The operator (or the station program) starts a transmission.
  void press() {
    switch (GetParam().path) {
      case Path::PttHeld:
      case Path::SplitPtt: return post("cmdPTT", EventKind::MouseDown, 1);
      case Path::ExternalPtt: return h.radio.setDsr(false);
      case Path::Xmt:
      case Path::SplitXmt: return post("cmdXmit");
      case Path::Tune: return post("cmdTune");
      case Path::AmpTune: return post("cmdTuneAmp");
      case Path::Client: return client(true);
    }
  }
  void keyAt(double t) {
    h.clock.scheduleAt(t, [this] { press(); });
  }
  // ... and lets go, or presses again to end a latched transmission.
  void releaseAt(double t) {
    h.clock.scheduleAt(t, [this] {
      switch (GetParam().path) {
        case Path::PttHeld:
        case Path::SplitPtt: return post("cmdPTT", EventKind::MouseUp, 1);
        case Path::ExternalPtt: return h.radio.setDsr(true);
        case Path::Client: return client(false);
        default: return press();
      }
    });
  }
  void at(double t, std::function<void()> f) { h.clock.scheduleAt(t, std::move(f)); }
  bool transmitting() { return h.simulator().model().state().transmitting; }
  // Time of the first key command `key` ("K"/"U") the radio got at or after `from`; -1 if none.
  double keyCommand(const std::string& key, double from) {
    for (const auto& c : h.simulator().commands())
      if (c.time >= from && c.text == key) return c.time;
    return -1;
  }

  TempWorkDir dir;
  EngineHarness h;
  PanelRigBackend backend_{h.panel};
  std::vector<std::shared_ptr<RigTicket>> tickets_;
};

TEST_P(TransmitTimeoutTest, AtTheLimitTheTransmissionEndsWithABeepAndTheText) {
  const Path path = GetParam().path;
  keyAt(kStart);
  bool keptJustBefore = false;
  int beepsBefore = 0;
  std::string info;
  int frequencyBefore = 0;
  at(kStart - 0.5, [&] { frequencyBefore = h.simulator().model().state().frequency; });
  at(kStart + kLimit - 0.1, [&] {
    keptJustBefore = transmitting();
    beepsBefore = h.host.beeps;
  });
  bool offAfter = false;
  int frequencyAfter = 0;
  at(kStart + kLimit + kLateness + 0.5, [&] {
    info = h.panel.frm.txtInfo.text;
    frequencyAfter = h.simulator().model().state().frequency;
    offAfter = !transmitting() && !h.panel.link().keyed();
  });
  // Still held well after the time-out: no new key by itself.
  bool keyedWhileStillHeld = true;
  at(kStart + kLimit + 6, [&] { keyedWhileStillHeld = transmitting(); });
  const double pressedAgain = kStart + kLimit + 7.5;
  if (holds()) {
    releaseAt(kStart + kLimit + 6.5);
    keyAt(pressedAgain);
  }
  h.runUntilClosed(kStart + kLimit + 9);

  const double keyed = keyCommand("K", kStart);
  ASSERT_GE(keyed, kStart);
  const double unkeyed = keyCommand("U", keyed);
  ASSERT_GT(unkeyed, keyed);
  std::printf("[ measured ] %s: keyed %.3f s, unkeyed %.3f s after the key\n", GetParam().name, keyed - kStart,
              unkeyed - keyed);
  EXPECT_TRUE(keptJustBefore);
  EXPECT_GE(unkeyed - keyed, kLimit - kRounding);
  EXPECT_LE(unkeyed - keyed, kLimit + kLateness);
  const double rekeyed = keyCommand("K", unkeyed);
  EXPECT_TRUE(rekeyed < 0 || rekeyed >= pressedAgain) << "keyed again without a new press";
  EXPECT_TRUE(offAfter);
  EXPECT_FALSE(keyedWhileStillHeld);
  if (holds()) {
    EXPECT_GE(rekeyed, pressedAgain) << "a new press after the release keys again";
  }
  EXPECT_GT(h.host.beeps, beepsBefore);
  EXPECT_NE(info.find("Transmit time-out: unkeyed after 8 s"), std::string::npos) << info;
  // Ended as its own release ends it.
  if (path == Path::SplitPtt || path == Path::SplitXmt) {
    EXPECT_EQ(frequencyAfter, frequencyBefore) << "back on VFO A";
  }
  if (path == Path::Xmt || path == Path::SplitXmt) {
    EXPECT_EQ(h.panel.frm.cmdXmit.caption, "&XMT ON");
  }
  if (path == Path::Tune) {
    EXPECT_EQ(h.panel.frm.cmdTune.caption, "T&UNE ON");
    EXPECT_EQ(h.simulator().model().state().mode, 1) << "the mode before the tune is back";
  }
  if (path == Path::AmpTune) {
    EXPECT_FALSE(h.panel.st.gAmpTuning);
  }
}

TEST_P(TransmitTimeoutTest, ABreakStartsANewCountAndANewPressKeysAgain) {
  keyAt(kStart);
  releaseAt(kStart + kLimit - 3);
  keyAt(kStart + kLimit - 1.5);
  bool keptPastTheFirstLimit = false;
  at(kStart + kLimit + 1.5, [&] { keptPastTheFirstLimit = transmitting(); });
  h.runUntilClosed(kStart + 2 * kLimit + 3);

  const double first = keyCommand("K", kStart);
  const double broken = keyCommand("U", first);
  const double again = keyCommand("K", broken);
  ASSERT_GT(broken, first);
  ASSERT_GT(again, broken);
  EXPECT_LT(broken - first, kLimit - 2);
  EXPECT_TRUE(keptPastTheFirstLimit);
  const double unkeyed = keyCommand("U", again);
  ASSERT_GT(unkeyed, again);
  EXPECT_GE(unkeyed - again, kLimit - kRounding);
  EXPECT_LE(unkeyed - again, kLimit + kLateness);
  EXPECT_FALSE(transmitting());
}

TEST_P(TransmitTimeoutTest, ALimitOfZeroNeverUnkeys) {
  h.panel.settings.txTimeoutSeconds = 0;
  keyAt(kStart);
  // Past twice the usual limit, short of the amplifier tune's own 20 s.
  bool stillKeyed = false;
  at(kStart + 2 * kLimit + 1, [&] { stillKeyed = transmitting(); });
  h.runUntilClosed(kStart + 2 * kLimit + 2);
  const double keyed = keyCommand("K", kStart);
  ASSERT_GE(keyed, kStart);
  const double unkeyed = keyCommand("U", keyed);
  EXPECT_TRUE(unkeyed < 0 || unkeyed > kStart + 2 * kLimit + 1) << "unkeyed at " << unkeyed;
  EXPECT_TRUE(stillKeyed);
  EXPECT_EQ(h.panel.frm.txtInfo.text.find("Transmit time-out"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EveryPath, TransmitTimeoutTest,
                         ::testing::Values(Case{Path::PttHeld, "PttButton"}, Case{Path::ExternalPtt, "ExternalPtt"},
                                           Case{Path::Xmt, "Xmt"}, Case{Path::Tune, "Tune"},
                                           Case{Path::AmpTune, "AmpTune"}, Case{Path::SplitPtt, "SplitPtt"},
                                           Case{Path::SplitXmt, "SplitXmt"}, Case{Path::Client, "NetworkClient"}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// A modal window over the main window holds the service loop (and a PTT
// loop a client started) up; the time-out still ends the transmission.
class TimeOutUnderADialogTest : public TransmitTimeoutTest {};

TEST_P(TimeOutUnderADialogTest, ASetupDialogLeftOpenDoesNotHoldTheTimeOutUp) {
  keyAt(kStart);
  at(kStart + 1, [&] { post("mnuAudioSetup"); });
  bool dialogOpenAtTheEnd = false;
  at(kStart + kLimit + kLateness + 0.5, [&] { dialogOpenAtTheEnd = h.panel.engine.window("frmAudioSetup")->window.visible; });
  h.runUntilClosed(kStart + kLimit + 3);
  const double keyed = keyCommand("K", kStart);
  ASSERT_GE(keyed, kStart);
  const double unkeyed = keyCommand("U", keyed);
  EXPECT_GE(unkeyed - keyed, kLimit - kRounding);
  EXPECT_LE(unkeyed - keyed, kLimit + kLateness);
  EXPECT_TRUE(dialogOpenAtTheEnd);
}

INSTANTIATE_TEST_SUITE_P(LatchedOrHeldUp, TimeOutUnderADialogTest,
                         ::testing::Values(Case{Path::Xmt, "Xmt"}, Case{Path::Client, "NetworkClient"}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zr::test
