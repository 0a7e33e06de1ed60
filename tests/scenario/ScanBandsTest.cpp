// The band scanner against the simulated transceiver in virtual time: what
// goes on the wire, and that Stop, Pause, closing and local control always
// leave the panel usable.
#include "core/MainMenus.h"
#include "lists/ScanBands.h"
#include "lists/ScanFrequency.h"
#include "ScanFixture.h"

namespace zr::test {
namespace {

const std::string kWin = "frmScanBands";

class ScanBandsTest : public ScanFixture {
 protected:
  // Opens the scanner, fills the limits and starts the scan at `start`.
  void scan(double start, const std::string& low, const std::string& high) {
    click(kOpenAt, "frmZR3817", "mnuScanBands");
    type(kOpenAt + 0.5, kWin, "txtScanLow", low);
    type(kOpenAt + 0.6, kWin, "txtScanHi", high);
    click(start, kWin, "cmdScanUp");
  }
  ScanBandsWindowModel& win() { return h.panel.menus().scanBands().model(); }
  // The scanner is gone and the panel is as it was before it opened.
  void expectPanelBack() {
    EXPECT_FALSE(win().window.visible);
    EXPECT_TRUE(frm().window.enabled);
    EXPECT_FALSE(h.panel.st.gScanning);
    EXPECT_TRUE(frm().lblInfo.visible);
    EXPECT_NE(frm().lblInBand.caption, "Scanning");
  }
};

struct Band {
  const char* button;
  int stepOption, step;  // 10 Hz units
  int first, last;
};

class ScanBandsRangeTest : public ScanBandsTest, public ::testing::WithParamInterface<Band> {};

TEST_P(ScanBandsRangeTest, ScansStepByStepAndWrapsAfterTheTop) {
  const Band& b = GetParam();
  click(kOpenAt, "frmZR3817", "mnuScanBands");
  click(kOpenAt + 0.5, kWin, b.button);
  click(kOpenAt + 0.6, kWin, "Option1", b.stepOption);
  click(12, kWin, "cmdScanUp");
  const int steps = (b.last - b.first) / b.step + 1;
  const double end = 12 + steps * 0.6 + 4;
  click(end - 0.5, kWin, "cmdStop");
  runUntil(end);

  auto during = sent(12);
  std::erase_if(during, [&](const Sent& x) { return x.time >= end; });  // the program's own end ("G00")
  const auto freqs = sent(12, "F");
  ASSERT_GE(freqs.size(), static_cast<std::size_t>(steps + 1));
  EXPECT_EQ(freqs.size(), during.size()) << "a healthy transceiver gets frequency commands only";
  for (int i = 0; i < steps; ++i) ASSERT_EQ(freqs[i].text, frequencyCommand(b.first + b.step * i)) << i;
  EXPECT_EQ(freqs[steps].text, frequencyCommand(b.first));  // again from the bottom
  // 0.4 s on each frequency plus the confirmation; a beep and 2 s at the top.
  for (int i = 1; i < steps; ++i) {
    const double gap = freqs[i].time - freqs[i - 1].time;
    ASSERT_GT(gap, 0.5) << i;
    ASSERT_LT(gap, 0.7) << i;
  }
  const double wrap = freqs[steps].time - freqs[steps - 1].time;
  EXPECT_GT(wrap, 2.5);
  EXPECT_LT(wrap, 2.7);
  EXPECT_EQ(h.host.beeps, 1);
  EXPECT_EQ(win().txtFreq.text, freqs.back().text + "0");
  EXPECT_TRUE(win().cmdScanUp.enabled);
}

INSTANTIATE_TEST_SUITE_P(Bands, ScanBandsRangeTest,
                         ::testing::Values(Band{"cmd160M", 2, 10, 180000, 200000},
                                           Band{"cmd20M", 4, 100, 1400000, 1435000}));

TEST_F(ScanBandsTest, LowerLimitAboveTheUpperBeepsEveryTwoSecondsAndSendsNothing) {
  scan(12, "14.350", "14.00");
  click(21, kWin, "cmdStop");
  runUntil(30);
  EXPECT_TRUE(sent(12, "F").empty());
  EXPECT_EQ(h.host.beeps, 5);  // at 12, 14, 16, 18 and 20; Stop ends the wait at 21
  EXPECT_TRUE(win().cmdScanUp.enabled);
}

TEST_F(ScanBandsTest, LimitsOutsideThePanelsRangeShowErrorUntilABandButton) {
  std::string lowText, hiText;
  Colour lowColour = 0;
  scan(12, "35", "40");  // 35 reads as 35 000.00 kHz
  at(12.5, [&] { lowText = win().txtScanLow.text, lowColour = win().txtScanLow.foreColor; });
  type(13, kWin, "txtScanLow", "7.000");
  type(13.1, kWin, "txtScanHi", "");
  click(14, kWin, "cmdScanUp");
  at(14.5, [&] { hiText = win().txtScanHi.text; });
  click(15, kWin, "cmd40M");
  runUntil(16);
  EXPECT_EQ(lowText, "Error");
  EXPECT_EQ(lowColour, colours::Red);
  EXPECT_EQ(hiText, "Error") << "an empty upper limit reads as 0";
  EXPECT_TRUE(sent(12, "F").empty());
  EXPECT_EQ(win().txtScanHi.text, "7.300");
  EXPECT_EQ(win().txtScanHi.foreColor, colours::Black);
  EXPECT_TRUE(win().cmdScanUp.enabled);
}

TEST_F(ScanBandsTest, PauseHoldsTheFrequencyAndKeepsTheSyncGoingUntilContinue) {
  bool stopDisabled = false;
  scan(12, "7.000", "7.300");
  click(20, kWin, "cmdPauseCont");
  at(21, [&] { stopDisabled = !win().cmdStop.enabled && win().cmdPauseCont.caption == "Con't"; });
  click(22, kWin, "cmdStop");  // dropped: Stop is disabled while paused
  click(40, kWin, "cmdPauseCont");
  click(45, kWin, "cmdStop");
  runUntil(46);
  EXPECT_TRUE(stopDisabled);

  const auto before = sent(12, "F");
  std::string last;
  double lastAt = 0;
  for (const auto& f : before)
    if (f.time < 20.5) last = f.text, lastAt = f.time;
  const auto during = sent(lastAt + 0.01);
  std::vector<double> syncs;
  for (const auto& c : during) {
    if (c.time > 40) break;
    ASSERT_EQ(c.text, "U") << "only the sync while paused";
    syncs.push_back(c.time);
  }
  ASSERT_GE(syncs.size(), 7u);
  for (std::size_t i = 1; i < syncs.size(); ++i) EXPECT_NEAR(syncs[i] - syncs[i - 1], 2.3, 0.1);
  const auto after = sent(40, "F");
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after.front().text, frequencyCommand(std::stol(last.substr(1)) + 10));
  EXPECT_LT(after.front().time, 40.5);
}

TEST_F(ScanBandsTest, SilentTransceiverGetsAStatusQueryAndTheScanGoesOn) {
  scan(12, "7.000", "7.300");
  at(15, [&] { h.simulator().faults().silent = true; });
  at(25, [&] { h.simulator().faults().silent = false; });
  click(30, kWin, "cmdStop");
  runUntil(31);
  const auto all = sent(15);
  ASSERT_GE(all.size(), 4u);
  EXPECT_EQ(all[0].text.front(), 'F');
  EXPECT_EQ(all[1].text, "?");
  EXPECT_NEAR(all[1].time - all[0].time, 1.5, 0.06);
  EXPECT_EQ(all[2].text, frequencyCommand(std::stol(all[0].text.substr(1)) + 10));
  EXPECT_EQ(frm().lblComStat.caption, "Com OK");  // answering again by the end
}

TEST_F(ScanBandsTest, AFrequencyTheTransceiverRefusesIsSentAFewTimesThenPassed) {
  h.simulator().model().refuseFrequencies(700030, 700030);
  scan(12, "7.000", "7.300");
  click(25, kWin, "cmdStop");
  runUntil(26);
  const auto texts = ScanFixture::texts(sent(12, "F"));
  ASSERT_GE(texts.size(), 8u);
  const std::vector<std::string> expected = {"F0700000", "F0700010", "F0700020", "F0700030", "F0700030",
                                             "F0700030", "F0700030", "F0700040"};
  EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 8), expected);
}

// Stop or the close box at a moment during the resends of a refused
// frequency (seconds after its first send), and whether it is the close box.
class ScanBandsResendTest : public ScanBandsTest, public ::testing::WithParamInterface<std::tuple<double, bool>> {};

TEST_P(ScanBandsResendTest, StopOrCloseDuringTheResendsEndsTheScanAtOnce) {
  const auto [offset, close] = GetParam();
  h.simulator().model().refuseFrequencies(700030, 700030);
  scan(12, "7.000", "7.300");
  InputEvent e;
  e.window = kWin;
  if (close)
    e.kind = EventKind::Close;
  else
    e.control = "cmdStop";
  const auto stop = interruptAfter("F0700030", 12, offset, e, [&] {
    return close ? frm().window.enabled : win().cmdScanUp.enabled;
  });
  runUntil(18);
  ASSERT_GE(stop->at, 0) << "the refused frequency was never sent";
  ASSERT_GE(stop->takenAt, 0) << "the scan did not end";
  RecordProperty("seconds_to_end", std::to_string(stop->takenAt - stop->at));
  EXPECT_LE(stop->takenAt - stop->at, 0.1);
  EXPECT_EQ(frequencyTrafficAfter(stop->at), std::vector<std::string>{});
  if (close) expectPanelBack();
}

INSTANTIATE_TEST_SUITE_P(Moments, ScanBandsResendTest,
                         ::testing::Combine(::testing::Values(0.01, 0.05, 0.09, 0.13, 0.17, 0.22, 0.27, 0.32, 0.38),
                                            ::testing::Bool()));

TEST_F(ScanBandsTest, StopAndTheCloseBoxTakeEffectWithinTheWaitTheyInterrupt) {
  scan(12, "7.000", "7.300");
  click(20.25, kWin, "cmdStop");  // in a dwell
  const auto scanEnabledAt = firstTime(20.26, 21, [&] { return win().cmdScanUp.enabled; });
  click(22, kWin, "cmdScanUp");
  at(23, [&] { h.simulator().faults().silent = true; });  // the next step waits for a report
  closeAt(23.6, kWin);
  const auto closedAt = firstTime(23.61, 25, [&] { return frm().window.enabled; });
  runUntil(26);
  EXPECT_GT(*scanEnabledAt, 20.25);
  EXPECT_LT(*scanEnabledAt, 20.35);
  EXPECT_GT(*closedAt, 23.6);
  EXPECT_LT(*closedAt, 23.7);
  EXPECT_TRUE(sent(23.6, "F").empty());
  EXPECT_TRUE(sent(23.6, "?").empty());
  expectPanelBack();
}

TEST_F(ScanBandsTest, LocalControlEndsTheScanAndClosesTheWindow) {
  scan(12, "7.000", "7.300");
  at(20, [&] { h.simulator().setRemoteControl(false); });
  runUntil(30);
  const auto freqs = sent(20, "F");
  EXPECT_LE(freqs.size(), 1u) << "the report of local control ends the scan";
  expectPanelBack();
  EXPECT_EQ(frm().lblREMOTE.caption, "LOCAL");
  EXPECT_TRUE(win().cmdScanUp.enabled);
}

TEST_F(ScanBandsTest, EndingTheProgramMidScanStillRunsTheEndSteps) {
  scan(12, "7.000", "7.300");
  runUntil(15.3);
  EXPECT_TRUE(win().cmdScanUp.enabled);
  EXPECT_FALSE(h.panel.st.gScanning);
  EXPECT_TRUE(frm().window.enabled);
}

TEST_F(ScanBandsTest, WhileOpenTheMainWindowShowsScanningAndItsInfoBoxesComeBack) {
  bool scanning = false, infoHidden = false;
  frm().txtInfo.visible = false;
  scan(12, "7.000", "7.300");
  at(13, [&] {
    scanning = frm().lblInBand.caption == "Scanning" && !frm().cmdPTT.enabled && !frm().cmdXmit.enabled &&
               !frm().cmdTune.enabled && !frm().window.enabled;
    infoHidden = !frm().lblInfo.visible && frm().txtInfo.visible;
  });
  click(14, kWin, "cmdStop");
  closeAt(15, kWin);
  runUntil(16);
  EXPECT_TRUE(scanning);
  EXPECT_TRUE(infoHidden);
  expectPanelBack();
  EXPECT_TRUE(frm().cmdPTT.enabled) << "7.000 MHz is in band";
  EXPECT_EQ(frm().lblInBand.caption, "");
  EXPECT_EQ(radio().pttEnabled, true) << "the transceiver's PTT is enabled again";
}

TEST_F(ScanBandsTest, SpeedChoicesSetTheDwell) {
  double first = 0, slow = 0, fast = 0;
  click(kOpenAt, "frmZR3817", "mnuScanBands");
  at(kOpenAt + 1, [&] { first = h.panel.menus().scanBands().scanDwell(); });
  click(kOpenAt + 2, kWin, "Option2", 1);
  at(kOpenAt + 3, [&] { slow = h.panel.menus().scanBands().scanDwell(); });
  click(kOpenAt + 4, kWin, "Option2", 0);
  at(kOpenAt + 5, [&] { fast = h.panel.menus().scanBands().scanDwell(); });
  runUntil(kOpenAt + 6);
  EXPECT_DOUBLE_EQ(first, 0.4);
  EXPECT_DOUBLE_EQ(slow, 1.5);
  EXPECT_DOUBLE_EQ(fast, 0.5);
}

TEST_F(ScanBandsTest, NoScanWhileTransmitting) {
  click(kOpenAt, "frmZR3817", "cmdXmit");
  click(kOpenAt + 2, "frmZR3817", "mnuScanBands");
  runUntil(kOpenAt + 4);
  EXPECT_FALSE(win().window.visible);
  EXPECT_FALSE(h.panel.st.gScanning);
  EXPECT_EQ(h.host.beeps, 1);
  EXPECT_TRUE(sent(kOpenAt + 2, "F").empty());
}

}  // namespace
}  // namespace zr::test
