// PTT, XMT and TUNE against the simulated transceiver in virtual time: the
// bytes on the wire, when they go out, and that every way out of a
// transmission leaves the transmitter unkeyed.
#include <gtest/gtest.h>

#include <functional>

#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "core/SyncPoller.h"
#include "panel/Transmit.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class TransmitTest : public ::testing::Test {
 protected:
  // Steady receive on a transceiver of the given firmware: full report shown,
  // the last sync character "U", nothing logged yet.
  void start(int firmware) {
    h.connect(firmware);
    query();
    st().lastKeyCmd = "U";
    st().gLastSyncTime = h.clock.now();
  }
  // Times in the tests count from the end of the last query.
  void query() {
    ASSERT_TRUE(h.queryReport());
    t0_ = h.now();
  }
  void at(double t, std::function<void()> f) { h.clock.scheduleAt(t0_ + t, std::move(f)); }
  void releaseAt(double t) {
    InputEvent e;
    e.window = frm().name();
    e.control = "cmdPTT";
    e.kind = EventKind::MouseUp;
    e.button = 1;
    h.inputAt(t0_ + t, e);
  }
  void split(const std::string& vfoB, const std::string& modeB = "USB") {
    for (std::size_t i = 0; i < vfoB.size(); ++i) frm().cmdVFOB[i].caption = std::string(1, vfoB[i]);
    frm().cmbVFOBMode.text = modeB;
    frm().lblSplit.caption = "Split On";
    frm().optTXVFO[0].value = 0;
    frm().optTXVFO[1].value = 1;
  }
  std::string vfoA() {
    std::string s;
    for (auto& c : frm().cmdF) s += c.caption;
    return s;
  }
  // The time of the first write of `bytes` at or after `from`.
  double timeOf(const std::string& bytes, double from = 0) {
    for (const auto& w : h.writes())
      if (w.bytes == bytes && w.time - t0_ >= from) return w.time - t0_;
    return -1;
  }
  TransceiverState& st() { return h.panel.st; }
  MainWindowModel& frm() { return h.panel.frm; }
  sim::TransceiverState& radio() { return h.simulator().model().state(); }

  EngineHarness h;
  Transmit tx{h.panel};
  double t0_ = 0;
};

TEST_F(TransmitTest, PttKeysAtOnceKeepsTheSyncAndUnkeysOnRelease) {
  start(2);
  bool keyedMeanwhile = false;
  at(3.0, [&] { keyedMeanwhile = radio().transmitting && frm().lblXMTRCV.caption == "Transmit"; });
  releaseAt(5.0);
  tx.cmdPTT_MouseDown(1, 0, 0, 0);

  EXPECT_EQ(h.written(), "KKKU");
  EXPECT_DOUBLE_EQ(timeOf("K"), 0.0);
  EXPECT_NEAR(timeOf("K", 0.1), 2.2, 0.01);  // the sync goes on while held
  EXPECT_NEAR(timeOf("K", 2.3), 4.4, 0.01);
  EXPECT_GE(timeOf("U"), 5.0);
  EXPECT_LT(timeOf("U"), 5.05);  // within one pass of the release
  EXPECT_TRUE(keyedMeanwhile);
  EXPECT_EQ(st().gKeyCmd, "U");
  EXPECT_FALSE(radio().transmitting);
  EXPECT_EQ(frm().lblXMTRCV.caption, "Receive");
  EXPECT_FALSE(h.panel.form.txActive);
}

TEST_F(TransmitTest, PressAndReleaseThroughTheWindow) {
  start(2);
  InputEvent down;
  down.window = frm().name();
  down.control = "cmdPTT";
  down.kind = EventKind::MouseDown;
  down.button = 1;
  h.inputAt(t0_ + 1.0, down);
  releaseAt(1.5);
  while (h.now() < t0_ + 2.0) h.panel.engine.pump(0.02);
  EXPECT_EQ(h.written(), "KU");
  EXPECT_FALSE(tx.pttHeld);
}

TEST_F(TransmitTest, RightButtonAndADisabledExternalLineDoNothing) {
  start(2);
  tx.cmdPTT_MouseDown(2, 0, 0, 0);
  h.radio.setDsr(false);  // external PTT not enabled in the port settings
  h.panel.engine.pump();
  tx.cmdPTT_MouseDown(0, 0, 0, 0);
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(st().gKeyCmd, "U");
}

TEST_F(TransmitTest, OutOfBandPressIsAbsorbedUntilRelease) {
  start(2);
  radio().frequency = 1436000;
  query();
  frm().cmdPTT.enabled = true;  // as if pressed before the band state caught up
  releaseAt(5.0);
  tx.cmdPTT_MouseDown(1, 0, 0, 0);
  EXPECT_GE(h.now() - t0_, 5.0);
  EXPECT_EQ(h.written().find('K'), std::string::npos);
  EXPECT_FALSE(radio().transmitting);
}

TEST_F(TransmitTest, OutOfBandKeysWhenUnrestricted) {
  start(2);
  st().gTxUnrestricted = true;
  radio().frequency = 1436000;
  query();
  releaseAt(1.0);
  tx.cmdPTT_MouseDown(1, 0, 0, 0);
  EXPECT_EQ(h.written(), "KU");
}

TEST_F(TransmitTest, SplitPttRetunesToVfoBAndBackAfterThePause) {
  start(2);
  split("1420000");
  std::string shownMeanwhile;
  int radioMeanwhile = 0;
  at(1.5, [&] {
    shownMeanwhile = vfoA();
    radioMeanwhile = radio().frequency;
  });
  releaseAt(3.0);
  tx.cmdPTT_MouseDown(1, 0, 0, 0);

  EXPECT_EQ(h.written(), "F1420000\nKKUF1425000\nU");
  EXPECT_DOUBLE_EQ(timeOf("K"), 0.0);
  const double unkey = timeOf("U");
  EXPECT_GE(unkey, 3.0);
  EXPECT_LT(unkey, 3.05);
  EXPECT_NEAR(timeOf("F1425000\n") - unkey, 0.4, 1e-9);
  EXPECT_EQ(shownMeanwhile, "1420000");
  EXPECT_EQ(radioMeanwhile, 1420000);
  EXPECT_EQ(radio().frequency, 1425000);
  EXPECT_FALSE(radio().transmitting);
  EXPECT_EQ(vfoA(), "1425000");
}

TEST_F(TransmitTest, SplitPttWithDifferentModesTurnsSplitOff) {
  start(2);
  split("1420000", "LSB");
  releaseAt(1.0);
  tx.cmdPTT_MouseDown(1, 0, 0, 0);
  ASSERT_EQ(h.host.messages.size(), 1u);
  EXPECT_EQ(h.host.messages[0], "Modes must be same for Split");
  EXPECT_EQ(frm().lblSplit.caption, "Split Off");
  EXPECT_EQ(frm().optTXVFO[0].value, 1);
  EXPECT_EQ(frm().optTXVFO[1].value, 0);
  EXPECT_EQ(h.written(), "");
}

TEST_F(TransmitTest, SplitPttToAForbiddenVfoBLeavesVfoAShown) {
  start(2);
  split("1436000");
  releaseAt(1.0);
  tx.cmdPTT_MouseDown(1, 0, 0, 0);
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(vfoA(), "1425000");
}

TEST_F(TransmitTest, ExternalLineKeysUntilReleased) {
  start(2);
  h.panel.settings.gExtPttEnabled = true;
  h.radio.setDsr(false);
  h.panel.engine.pump();
  ASSERT_FALSE(h.panel.form.extPttIdle);
  at(3.0, [&] { h.radio.setDsr(true); });
  tx.cmdPTT_MouseDown(0, 0, 0, 0);  // as the service loop presses it
  EXPECT_EQ(h.written(), "KKU");
  EXPECT_GE(timeOf("U"), 3.0);
  EXPECT_LT(timeOf("U"), 3.05);
  EXPECT_TRUE(h.panel.form.extPttIdle);
}

TEST_F(TransmitTest, LostLinkEndsAHeldPtt) {
  start(2);
  h.simulator().faults().silent = true;
  tx.cmdPTT_MouseDown(1, 0, 0, 0);  // never released
  EXPECT_EQ(st().gKeyCmd, "U");
  EXPECT_GT(st().gMissedSyncs, SyncPoller::kMaxMissed);
  EXPECT_EQ(h.writes().back().bytes, "U");
  EXPECT_LT(h.now() - t0_, 20.0);
  EXPECT_FALSE(tx.pttHeld);
}

TEST_F(TransmitTest, XmtLatchesAndReleases) {
  start(2);
  InputEvent click;
  click.window = frm().name();
  click.control = "cmdXmit";
  h.panel.engine.post(click);
  h.panel.engine.pump();
  EXPECT_TRUE(tx.xmitPending);
  EXPECT_EQ(h.written(), "");
  tx.XmitCmd();
  EXPECT_FALSE(tx.xmitPending);
  EXPECT_EQ(h.written(), "K");
  EXPECT_TRUE(tx.xmitLatched);
  EXPECT_EQ(frm().cmdXmit.caption, "&XMT OFF");
  EXPECT_FALSE(frm().cmdTune.enabled);
  tx.XmitCmd();
  EXPECT_EQ(h.written(), "KU");
  EXPECT_EQ(st().gKeyCmd, "U");
  EXPECT_FALSE(tx.xmitLatched);
  EXPECT_EQ(frm().cmdXmit.caption, "&XMT ON");
  EXPECT_TRUE(frm().cmdTune.enabled);
}

TEST_F(TransmitTest, SplitXmtRetunesAndReturnsEvenIfSplitWentOff) {
  start(2);
  split("1420000");
  tx.XmitCmd();
  EXPECT_EQ(h.written(), "F1420000\nK");
  EXPECT_NEAR(timeOf("K") - timeOf("F1420000\n"), 0.4, 1e-9);
  EXPECT_EQ(vfoA(), "1420000");
  EXPECT_EQ(tx.splitReturnFreq, "1425000");
  frm().lblSplit.caption = "Split Off";
  tx.XmitCmd();
  EXPECT_EQ(h.written(), "F1420000\nKUF1425000\n");
  EXPECT_NEAR(timeOf("F1425000\n") - timeOf("U"), 0.6, 1e-9);  // the sync's 0.2 s, then the pause
}

TEST_F(TransmitTest, SplitXmtRefusals) {
  start(2);
  split("1420000", "CW");
  tx.XmitCmd();
  EXPECT_EQ(h.host.beeps, 1);
  ASSERT_EQ(h.host.messages.size(), 1u);
  EXPECT_EQ(h.host.messages[0], "Modes must be same for Split");
  EXPECT_EQ(frm().lblSplit.caption, "Split On");

  split("1436000");
  tx.XmitCmd();
  EXPECT_EQ(h.host.beeps, 2);
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(vfoA(), "1425000");
  EXPECT_FALSE(tx.xmitLatched);
  EXPECT_EQ(frm().cmdXmit.caption, "&XMT ON");
}

TEST_F(TransmitTest, TuneOnStepFirmwareEndsWithTwoConfirmedSteps) {
  start(3);
  tx.tuneCmd();
  EXPECT_EQ(h.written(), "mm\nK");
  EXPECT_EQ(radio().mode, 3);
  EXPECT_EQ(st().gKeyCmd, "K");
  EXPECT_EQ(frm().cmdTune.caption, "T&UNE OFF");
  EXPECT_FALSE(frm().cmdXmit.enabled);
  h.radio.clearLog();

  tx.tuneCmd();
  EXPECT_EQ(h.written(), "Um\nm\n");
  EXPECT_EQ(radio().mode, 1);
  EXPECT_EQ(st().gMode, "M1");
  EXPECT_NE(frm().txtInfo.text, "Mode did not change..");
  EXPECT_EQ(st().gKeyCmd, "U");
  EXPECT_FALSE(radio().transmitting);
  EXPECT_EQ(frm().cmdTune.caption, "T&UNE ON");
  EXPECT_TRUE(frm().cmdXmit.enabled);
}

TEST_F(TransmitTest, TuneOnAbsoluteFirmwareRestoresByCode) {
  start(2);
  radio().mode = 2;
  query();
  tx.tuneCmd();
  EXPECT_EQ(h.written(), "M3\nF1425000\nK");
  h.radio.clearLog();
  tx.tuneCmd();
  EXPECT_EQ(h.written(), "UM2\nF1425000\n");
  EXPECT_EQ(radio().mode, 2);
}

TEST_F(TransmitTest, TuneRestoresSourceAndSideTone) {
  start(2);
  tx.tuneCmd();
  radio().source = 3;  // changed behind the panel's back during the tune
  radio().sideTone = true;
  query();
  tx.tuneCmd();
  EXPECT_EQ(h.written(), "UM1\nF1425000\nH\nS\n");
  EXPECT_EQ(radio().source, 1);
  EXPECT_FALSE(radio().sideTone);
}

TEST_F(TransmitTest, TuneRestoreIsBounded) {
  start(3);
  radio().source = 4;  // OFF/CW: not on the "H" cycle
  query();
  tx.tuneCmd();
  radio().source = 1;
  query();
  h.simulator().faults().silent = true;  // mode steps are never confirmed
  tx.tuneCmd();
  std::size_t steps = 0;
  for (const auto& w : h.writes()) steps += w.bytes == "m\n";
  EXPECT_EQ(steps, static_cast<std::size_t>(Transmit::kModeRestoreSteps));
  EXPECT_EQ(h.written().find('H'), std::string::npos);
  EXPECT_EQ(st().gKeyCmd, "U");
  EXPECT_EQ(frm().cmdTune.caption, "T&UNE ON");
}

TEST_F(TransmitTest, XmtAndTuneExcludeEachOther) {
  start(2);
  tx.tuneCmd();
  tx.XmitCmd();  // both clicked before the loop served either
  EXPECT_FALSE(tx.xmitLatched);
  EXPECT_EQ(frm().cmdXmit.caption, "&XMT ON");
  tx.tuneCmd();
  tx.XmitCmd();
  frm().cmdTune.enabled = true;
  tx.tuneCmd();
  EXPECT_EQ(frm().cmdTune.caption, "T&UNE ON");
  tx.XmitCmd();
  EXPECT_EQ(st().gKeyCmd, "U");
}

}  // namespace
}  // namespace zr::test
