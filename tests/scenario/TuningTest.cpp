// The digit buttons and tuning keys against the simulated transceiver, in
// virtual time: what goes on the wire and when, and what the digits show.
#include <gtest/gtest.h>

#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "panel/Tuning.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class TuningTest : public ::testing::Test {
 protected:
  // VFO A showing `freq` as the transceiver reports it.
  void start(int freq = 1425000) {
    h.connect(2);
    h.simulator().model().state().frequency = freq;
    ASSERT_TRUE(h.queryReport());
    t0 = h.now();
  }
  InputEvent event(const std::string& control, int index, EventKind kind, int button) const {
    InputEvent e;
    e.window = h.panel.frm.name();
    e.control = control;
    e.index = index;
    e.kind = kind;
    e.button = button;
    return e;
  }
  void downAt(double at, const std::string& control, int index, int button) {
    h.inputAt(t0 + at, event(control, index, EventKind::MouseDown, button));
  }
  void upAt(double at, const std::string& control, int index) {
    h.inputAt(t0 + at, event(control, index, EventKind::MouseUp, 1));
  }
  void keyAt(double at, int keyCode) {
    InputEvent e = event("", -1, EventKind::KeyDown, 0);
    e.keyCode = keyCode;
    h.inputAt(t0 + at, e);
  }
  // Lets the scheduled input in and runs what it starts to the end.
  void run() {
    for (;;) {
      h.panel.engine.pump();
      const double next = h.clock.nextEventAt();
      if (next < 0) break;
      h.clock.advanceTo(next);
    }
  }
  // Every write with its time since the start.
  std::vector<std::pair<double, std::string>> sends() const {
    std::vector<std::pair<double, std::string>> out;
    for (const auto& w : h.writes()) out.emplace_back(w.time - t0, w.bytes);
    return out;
  }
  template <std::size_t N>
  static std::string row(const std::array<Control, N>& digits) {
    std::string s;
    for (const auto& d : digits) s += d.caption;
    return s;
  }
  TransceiverState& st() { return h.panel.st; }
  MainWindowModel& frm() { return h.panel.frm; }

  EngineHarness h;
  Tuning tuning{h.panel};
  double t0 = 0;
};

// One send: the command, its 0.4 s wait and the reply's 0.06 s quiet gap.
constexpr double kPass = 0.46;

TEST_F(TuningTest, HeldDigitSendsOnFirstFivePassesThenEverySecondAndOnceAfterRelease) {
  start();
  downAt(0, "cmdF", 6, 1);
  upAt(3.0, "cmdF", 6);
  run();
  using S = std::vector<std::pair<double, std::string>>;
  const S expected = {{0 * kPass, "F1425001\n"}, {1 * kPass, "F1425002\n"}, {2 * kPass, "F1425003\n"},
                      {3 * kPass, "F1425004\n"}, {4 * kPass, "F1425005\n"},
                      // pass 6 shows ...06 without sending
                      {5 * kPass, "F1425007\n"}, {6 * kPass, "F1425009\n"},
                      // the release is seen at the next pump
                      {7 * kPass, "F1425009\n"}};
  const S got = sends();
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].first, expected[i].first, 0.005) << i;
    EXPECT_EQ(got[i].second, expected[i].second) << i;
  }
  EXPECT_EQ(row(frm().cmdF), "1425009");
  EXPECT_EQ(h.simulator().model().state().frequency, 1425009);
  EXPECT_FALSE(tuning.digitHeld);
  EXPECT_EQ(h.host.beeps, 0);
}

TEST_F(TuningTest, ClickFasterThanOnePassIsExactlyOneStep) {
  start();
  // Press and release delivered in the same pump.
  downAt(0, "cmdF", 3, 2);
  upAt(0, "cmdF", 3);
  run();
  EXPECT_EQ(h.written(), "F1424000\nF1424000\n");
  // Released while the first send is still waiting.
  downAt(5, "cmdF", 2, 1);
  upAt(5.1, "cmdF", 2);
  run();
  EXPECT_EQ(h.written(), "F1424000\nF1424000\nF1434000\nF1434000\n");
  EXPECT_EQ(row(frm().cmdF), "1434000");
  EXPECT_EQ(frm().lblInfo.caption, "");
}

struct LimitCase {
  int start;
  int index;
  int button;
  const char* shown;
  int beeps;
  friend std::ostream& operator<<(std::ostream& os, const LimitCase& c) {
    return os << c.start << " digit " << c.index << " button " << c.button;
  }
};

class TuningLimits : public TuningTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(TuningLimits, BeepAndResendTheUnchangedValueAtTheEdges) {
  const LimitCase c = GetParam();
  start(c.start);
  downAt(0, "cmdF", c.index, c.button);
  upAt(0, "cmdF", c.index);
  run();
  const std::string cmd = std::string("F") + c.shown + "\n";
  EXPECT_EQ(h.written(), cmd + cmd);
  EXPECT_EQ(row(frm().cmdF), c.shown);
  EXPECT_EQ(h.host.beeps, c.beeps);
}
INSTANTIATE_TEST_SUITE_P(Edges, TuningLimits,
                         ::testing::Values(LimitCase{2500000, 0, 1, "2500000", 1},
                                           LimitCase{160000, 6, 2, "0160000", 1},
                                           LimitCase{2999998, 6, 1, "2999999", 0},
                                           LimitCase{950000, 1, 2, "0850000", 0}));

TEST_F(TuningTest, NothingHappensWhileTransmittingOrBeforeAFrequencyIsKnown) {
  start();
  h.panel.form.txActive = true;
  downAt(0, "cmdF", 6, 1);
  upAt(0.1, "cmdF", 6);
  keyAt(0.2, Tuning::kKeyUp);
  run();
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(row(frm().cmdF), "1425000");
  h.panel.form.txActive = false;
  // Digits that never were a frequency: held, nothing goes out, not even on release.
  for (auto& d : frm().cmdF) d.caption = "0";
  downAt(1, "cmdF", 6, 1);
  upAt(2, "cmdF", 6);
  run();
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(row(frm().cmdF), "0000000");
  EXPECT_LT(h.now() - t0, 2.5);
}

class TuningKeys : public TuningTest, public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(TuningKeys, IAndDStepByTheChosenSize) {
  const auto [size, step] = GetParam();
  start();
  frm().cmbStepSize.text = size;
  keyAt(0, 73);
  keyAt(2, 68);
  keyAt(4, 68);
  keyAt(6, 'X');
  run();
  if (step == 0) {
    EXPECT_EQ(h.written(), "");
    return;
  }
  const std::string up = "F" + Tuning::freqText(1425000 + step) + "\n";
  const std::string down = "F" + Tuning::freqText(1425000 - step) + "\n";
  EXPECT_EQ(h.written(), up + up + "F1425000\nF1425000\n" + down + down);
  EXPECT_EQ(row(frm().cmdF), Tuning::freqText(1425000 - step));
}
INSTANTIATE_TEST_SUITE_P(StepSizes, TuningKeys,
                         ::testing::Values(std::pair{"10Hz", 1}, std::pair{"100Hz", 10}, std::pair{"1KHz", 100},
                                           std::pair{"10KHz", 1000}, std::pair{"OFF", 0}));

TEST_F(TuningTest, KeysDuringAHeldDigitFoldIntoItsLoop) {
  start();
  frm().cmbStepSize.text = "10KHz";
  downAt(0, "cmdF", 6, 1);
  keyAt(0.2, Tuning::kKeyDown);
  keyAt(0.5, Tuning::kKeyUp);
  upAt(1.0, "cmdF", 6);
  run();
  // Neither the keys' size nor their direction: the held digit's steps only.
  EXPECT_EQ(h.written(), "F1425001\nF1425002\nF1425003\nF1425003\n");
  h.radio.clearLog();
  // A key that comes with the release gives the held digit one more pass.
  t0 = h.now() + 1;
  downAt(0, "cmdF", 6, 1);
  upAt(0.5, "cmdF", 6);
  keyAt(0.5, Tuning::kKeyDown);
  run();
  EXPECT_EQ(h.written(), "F1425004\nF1425005\nF1425006\nF1425006\n");
}

TEST_F(TuningTest, KnobKeysDuringAKeyStepAddPassesTheSameWayOnly) {
  start();
  frm().cmbStepSize.text = "100Hz";
  keyAt(0, Tuning::kKeyUp);
  keyAt(0.1, Tuning::kKeyUp);
  keyAt(0.2, Tuning::kKeyUp);  // still the same pass: one more step, not two
  keyAt(0.3, Tuning::kKeyDown);
  run();
  EXPECT_EQ(h.written(), "F1425010\nF1425020\nF1425020\n");
}

TEST_F(TuningTest, VfoBDigitsRepeatEveryQuarterSecondStopAtTheLimitAndSendNothing) {
  start();
  for (std::size_t i = 0; i < 7; ++i) frm().cmdVFOB[i].caption = std::string(1, "2999997"[i]);
  std::vector<std::string> seen;
  for (double at : {0.1, 0.35, 0.6, 0.85}) h.clock.scheduleAt(t0 + at, [&] { seen.push_back(row(frm().cmdVFOB)); });
  downAt(0, "cmdVFOB", 6, 1);
  upAt(1.0, "cmdVFOB", 6);
  run();
  EXPECT_EQ(seen, (std::vector<std::string>{"2999998", "2999999", "2999999", "2999999"}));
  EXPECT_EQ(row(frm().cmdVFOB), "2999999");
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(h.host.beeps, 0);
  EXPECT_FALSE(tuning.vfoBDigitHeld);

  // A row below the range starts from the bottom and stays there going down.
  for (auto& d : frm().cmdVFOB) d.caption = "0";
  t0 = h.now() + 1;
  downAt(0, "cmdVFOB", 2, 2);
  upAt(0.6, "cmdVFOB", 2);
  run();
  EXPECT_EQ(row(frm().cmdVFOB), "0160000");
  EXPECT_EQ(h.written(), "");
}

TEST_F(TuningTest, ChannelDigitsStayInRangeAndSelectOnlyUnderRadioChannels) {
  start();
  frm().cmdM[0].caption = "9";
  frm().cmdM[1].caption = "9";
  downAt(0, "cmdM", 1, 1);
  upAt(0, "cmdM", 1);
  run();
  EXPECT_EQ(row(frm().cmdM), "99");
  EXPECT_EQ(h.host.beeps, 1);
  EXPECT_EQ(h.written(), "");  // "Use VFO"

  frm().optChan[0].value = 1;
  frm().optChan[1].value = 0;
  frm().cmdM[0].caption = "2";
  frm().cmdM[1].caption = "5";
  t0 = h.now() + 1;
  downAt(0, "cmdM", 0, 2);
  upAt(0.7, "cmdM", 0);
  run();
  // 15 and 05 at 0.25 s apart, then a beep at the bottom.
  EXPECT_EQ(row(frm().cmdM), "05");
  EXPECT_EQ(h.host.beeps, 2);
  const auto got = sends();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].second, "C05\n");
  EXPECT_NEAR(got[0].first, 0.75, 1e-6);
}

TEST_F(TuningTest, AHoldWhoseReleaseCannotArriveEnds) {
  start();
  downAt(0, "cmdVFOB", 6, 1);
  // The view dropped the release: the loop ends after the hold limit.
  run();
  EXPECT_NEAR(h.now() - t0, Tuning::kMaxHoldSeconds, 0.3);
  // Disabled while held: its release would be dropped, so the loop ends.
  t0 = h.now() + 1;
  downAt(0, "cmdF", 6, 1);
  h.clock.scheduleAt(t0 + 1, [&] { frm().cmdF[6].enabled = false; });
  run();
  EXPECT_LT(h.now() - t0, 2.0);
  frm().cmdF[6].enabled = true;
  // The busy flag was released: the next press works.
  h.radio.clearLog();
  t0 = h.now() + 1;
  downAt(0, "cmdF", 6, 1);
  upAt(0, "cmdF", 6);
  run();
  EXPECT_EQ(h.written(), "F1425004\nF1425004\n");
}

TEST(TypedFrequency, ReadsKilohertzWithinThePanelsRange) {
  EXPECT_EQ(Tuning::typedFreq("14250"), "1425000");
  EXPECT_EQ(Tuning::typedFreq("14 250.5"), "1425050");
  EXPECT_EQ(Tuning::typedFreq("7,074.01"), "0707401");
  EXPECT_EQ(Tuning::typedFreq("1600"), "0160000");
  EXPECT_EQ(Tuning::typedFreq("29999.99"), "2999999");
  for (const char* refused : {"", ".", "1599.99", "30000", "14250.001", "14.250.0", "14250k", "-7000", "123456",
                              "14250. 5"})
    EXPECT_EQ(Tuning::typedFreq(refused), "") << refused;
}

TEST_F(TuningTest, ATypedFrequencyIsSentOnceLikeADigitsLastSendAndVfoBOnlyShowsIt) {
  start();
  InputEvent typed = event("cmdF", 0, EventKind::Change, 0);
  typed.text = "7074";
  h.inputAt(t0, typed);
  run();
  EXPECT_EQ(h.written(), "F0707400\n");
  EXPECT_EQ(row(frm().cmdF), "0707400");
  EXPECT_EQ(h.simulator().model().state().frequency, 707400);

  // Not a frequency: a beep, nothing sent, the digits kept.
  h.radio.clearLog();
  typed.text = "31000";
  h.inputAt(h.now() + 1, typed);
  run();
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(h.host.beeps, 1);
  EXPECT_EQ(row(frm().cmdF), "0707400");

  // While transmitting VFO A takes no typing, as it takes no digit press.
  h.panel.form.txActive = true;
  typed.text = "14250";
  h.inputAt(h.now() + 1, typed);
  run();
  EXPECT_EQ(h.written(), "");
  h.panel.form.txActive = false;

  InputEvent vfoB = event("cmdVFOB", 0, EventKind::Change, 0);
  vfoB.text = "21 300.25";
  h.inputAt(h.now() + 1, vfoB);
  run();
  EXPECT_EQ(row(frm().cmdVFOB), "2130025");
  EXPECT_EQ(h.written(), "");
}

}  // namespace
}  // namespace zr::test
