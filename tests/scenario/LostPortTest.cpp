// A radio port that hangs up (a USB adapter pulled, the radio's interface
// powered off) while the panel runs, in virtual time: shown at once, no
// transmit control usable, reopened on a back-off without the operator, and
// the transceiver unkeyed and set up again when it is back.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/Errors.h"
#include "core/MainLoop.h"
#include "core/PortRecovery.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

const char* const kReason = "COM1 -> /dev/ttyUSB0: Input/output error";

class LostPortTest : public ::testing::Test {
 protected:
  LostPortTest() {
    TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
    h.attachSimulator(2);
  }
  // The adapter goes at `at` and cannot be opened until `back`.
  void unplug(double at, double back) {
    h.clock.scheduleAt(at, [this] {
      h.radio.hangUp(kReason);
      h.radio.setFailOpen(err::PortUnavailable);
    });
    h.clock.scheduleAt(back, [this] { h.radio.setFailOpen(0); });
  }
  // Calls `f` at `at` with the panel as it is then.
  void at(double t, std::function<void()> f) { h.clock.scheduleAt(t, std::move(f)); }
  std::vector<double> timesOf(const std::string& command, double from = 0) {
    std::vector<double> t;
    for (const auto& c : h.simulator().commands())
      if (c.text == command && c.time >= from) t.push_back(c.time);
    return t;
  }
  MainWindowModel& frm() { return h.panel.frm; }
  sim::TransceiverState& radio() { return h.simulator().model().state(); }

  TempWorkDir dir;
  EngineHarness h;
};

TEST_F(LostPortTest, ShownAtOnceWithTransmitStoppedAndDisabled) {
  h.clickAt(10, "cmdXmit");
  unplug(12, 1000);
  std::string info, status, remote, xmtCaption, indicator;
  bool anyTransmitControl = true, keyedAtLoss = false;
  at(12.0, [&] { keyedAtLoss = radio().transmitting; });
  at(12.05, [&] {
    info = frm().txtInfo.visible ? frm().txtInfo.text : "";
    status = frm().lblComStat.caption;
    remote = frm().lblREMOTE.caption;
    xmtCaption = frm().cmdXmit.caption;
    indicator = frm().lblXMTRCV.caption;
    anyTransmitControl =
        frm().cmdPTT.enabled || frm().cmdXmit.enabled || frm().cmdTune.enabled || frm().cmdTuneAmp.enabled;
  });
  h.runUntilClosedAt(20);
  ASSERT_TRUE(keyedAtLoss);
  EXPECT_EQ(info, std::string("Radio port lost: ") + kReason + "\r\nOpening it again in 1 s...");
  EXPECT_EQ(status, "Port Lost");
  EXPECT_EQ(remote, "NoComm");
  EXPECT_EQ(indicator, "Receive");
  EXPECT_EQ(xmtCaption, "&XMT ON");
  EXPECT_FALSE(anyTransmitControl);
  EXPECT_EQ(h.panel.st.gKeyCmd, "U");
}

TEST_F(LostPortTest, AHeldSplitPttEndsQuietly) {
  TempWorkDir::write("ZR3817ini.txt", " 0 \r\n 0 \r\n1420000\r\nUSB\r\nSplit On\r\nOFF\r\n");
  InputEvent press;
  press.window = "frmZR3817";
  press.control = "cmdPTT";
  press.kind = EventKind::MouseDown;
  press.button = 1;
  h.inputAt(10, press);  // never released
  unplug(11, 1000);
  std::string info;
  bool keyedBefore = false;
  at(10.9, [&] { keyedBefore = radio().transmitting && radio().frequency == 1420000; });
  at(11.5, [&] { info = frm().txtInfo.text; });
  h.runUntilClosedAt(14);
  ASSERT_TRUE(keyedBefore);
  // The loss is what the operator reads, not an error of the cut PTT loop.
  EXPECT_EQ(info.rfind("Radio port lost: ", 0), 0u) << info;
  EXPECT_EQ(h.panel.st.gKeyCmd, "U");
}

TEST_F(LostPortTest, AScanCutByTheLossLeavesTheWindowsLiveAndThePortIsReopened) {
  h.clickAt(10, "mnuScanBands");
  InputEvent type;
  type.window = "frmScanBands";
  type.kind = EventKind::Change;
  type.control = "txtScanLow";
  type.text = "14.000";
  h.inputAt(10.5, type);
  type.control = "txtScanHi";
  type.text = "14.300";
  h.inputAt(10.6, type);
  h.clickAt(11, "cmdScanUp", -1, "frmScanBands");
  unplug(13, 20);
  h.clickAt(16, "cmdStop", -1, "frmScanBands");
  InputEvent close;
  close.window = "frmScanBands";
  close.kind = EventKind::Close;
  h.inputAt(17, close);
  std::string status;
  at(14, [&] { status = frm().lblComStat.caption; });
  h.runUntilClosedAt(45);
  EXPECT_EQ(status, "Port Lost");
  EXPECT_TRUE(frm().window.enabled);
  EXPECT_EQ(frm().lblComStat.caption, "Com OK");
  EXPECT_EQ(frm().lblREMOTE.caption, "REMOTE");
}

TEST_F(LostPortTest, ReopensOnABackOffAndUnkeysFirstWhenBack) {
  h.clickAt(10, "cmdXmit");
  unplug(12, 40.05);  // back just after a failed try, the worst moment
  std::string retryText;
  at(30, [&] { retryText = frm().txtInfo.text; });
  h.runUntilClosedAt(70);

  // Tries at 1, 2, 4, 8, then every 10 s after the loss: 13, 15, 19, 27, 37, 47.
  const auto opens = h.radio.openAttempts();
  ASSERT_GE(opens.size(), 7u);
  const double expected[] = {0.5, 13, 15, 19, 27, 37, 47};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_NEAR(opens[i], expected[i], 0.05) << "attempt " << i;
  EXPECT_EQ(retryText, std::string("Radio port lost: ") + kReason +
                           "\r\nReopening failed: " + errorText(err::PortUnavailable) + ". Next try in 10 s...");

  // Back at 47: the unkey owed since the loss goes first, then the startup
  // queries and the whole remote setup again.
  const auto& cmds = h.simulator().commands();
  const auto first = std::find_if(cmds.begin(), cmds.end(), [](const auto& c) { return c.time > 12; });
  ASSERT_NE(first, cmds.end());
  EXPECT_EQ(first->text, "U");
  EXPECT_NEAR(first->time, 47, 0.05);
  EXPECT_FALSE(radio().transmitting);
  EXPECT_EQ(timesOf("B100", 47).size(), 2u) << "the setup runs again";
  EXPECT_EQ(frm().lblREMOTE.caption, "REMOTE");
  EXPECT_EQ(frm().lblComStat.caption, "Com OK");
  EXPECT_TRUE(frm().cmdXmit.enabled && frm().cmdPTT.enabled);
  EXPECT_FALSE(frm().txtInfo.visible);

  // From the radio being back to the first sync of the service loop.
  const auto queries = timesOf("?", 47);
  ASSERT_FALSE(queries.empty());
  const auto syncs = timesOf("U", queries.back());
  ASSERT_FALSE(syncs.empty());
  EXPECT_LE(syncs.front() - 40.05, 15.0);
}

TEST_F(LostPortTest, PortSetupApplyReopensAtOnce) {
  unplug(10, 18);  // tries at about 11, 13, 17, then not before 25
  h.clickAt(18.1, "mnuPortSetup");
  InputEvent choose;
  choose.window = "frmPortSetup";
  choose.control = "cmbSelectPort";
  choose.text = "1";
  h.inputAt(18.15, choose);
  h.clickAt(18.2, "cmdApply", -1, "frmPortSetup");
  h.runUntilClosedAt(30);
  const auto opens = h.radio.openAttempts();
  ASSERT_GE(opens.size(), 5u);
  EXPECT_NEAR(opens[3], 17.2, 0.1);
  EXPECT_GE(opens[4], 18.2);  // the operator's Apply, not the next try
  EXPECT_LT(opens[4], 18.3);
  EXPECT_EQ(h.panel.mainLoop().controlMode, "REMOTE");
  EXPECT_EQ(frm().lblComStat.caption, "Com OK");
}

TEST_F(LostPortTest, APortThatWillNotOpenAtStartIsTriedAgain) {
  h.radio.setFailOpen(err::PortUnavailable);
  std::string info;
  at(0.8, [&] { info = frm().txtInfo.text + "|" + frm().lblComStat.caption; });
  at(3.0, [&] { h.radio.setFailOpen(0); });
  h.runUntilClosedAt(15);
  EXPECT_EQ(info, "Radio port did not open: " + errorText(err::PortUnavailable) + "\r\nOpening it again in 1 s...|No Port");
  EXPECT_EQ(h.panel.mainLoop().controlMode, "REMOTE");
}

// The COMn link gone with the adapter, recreated ten seconds later: every
// try goes to the device chosen at the start, and the one when it is back
// follows within a look, not at the back-off's next step (at 27 s).
TEST_F(LostPortTest, AVanishedDeviceIsReopenedAsChosenAndTriedAsSoonAsItIsBack) {
  h.clickAt(10, "cmdXmit");
  at(12, [&] {
    h.radio.hangUp(kReason);
    h.radio.setDevicePresent(false);
  });
  at(22, [&] { h.radio.setDevicePresent(true); });
  h.runUntilClosedAt(40);
  const auto& opens = h.radio.openAttempts();
  ASSERT_GE(opens.size(), 2u);
  EXPECT_EQ(h.radio.reopens(), static_cast<int>(opens.size()) - 1) << "a try chose the device afresh";
  EXPECT_EQ(h.radio.choices(), std::vector<int>{1}) << "chosen once, at the start";
  EXPECT_LE(opens.back() - 22, PortRecovery::kLookInterval + 0.05);
  const auto back = timesOf("U", 12);
  ASSERT_FALSE(back.empty());
  EXPECT_LE(back.front() - 22, 0.5);
  EXPECT_FALSE(radio().transmitting);
  EXPECT_EQ(frm().lblREMOTE.caption, "REMOTE");
}

// Started while the link dangles: the port is waited for like a lost one,
// with the reason on show, and nothing is sent until it is there.
TEST_F(LostPortTest, APortMissingAtStartIsWaitedForAndHeardFromWhenItIsBack) {
  h.probe.present.clear();
  h.radio.setDevicePresent(false);
  std::string waiting, retrying;
  at(1.0, [&] { waiting = frm().txtInfo.text + "|" + frm().lblComStat.caption + "|" + frm().lblREMOTE.caption; });
  at(6.0, [&] { retrying = frm().txtInfo.text; });
  at(9.0, [&] {
    h.radio.setDevicePresent(true);
    h.probe.present.insert(1);
  });
  h.runUntilClosedAt(25);
  const char* const reason = "Port is not available. Use Setup menu or Exit.";
  EXPECT_EQ(waiting, std::string(reason) + "\r\nOpening it again in 1 s...|No Port|");
  EXPECT_EQ(retrying, std::string(reason) + "\r\nReopening failed: No such file or directory. Next try in 4 s...");
  const auto& cmds = h.simulator().commands();
  ASSERT_FALSE(cmds.empty());
  EXPECT_EQ(cmds.front().text, "U");
  EXPECT_GE(cmds.front().time, 9.0);
  EXPECT_LE(cmds.front().time, 9.0 + PortRecovery::kLookInterval + 0.05);
  EXPECT_EQ(h.panel.mainLoop().controlMode, "REMOTE");
}

TEST_F(LostPortTest, SilentRadioIsShownByTheWatchdog) {
  at(10, [&] { h.simulator().faults().silent = true; });
  std::string info, status;
  at(25, [&] {
    info = frm().txtInfo.visible ? frm().txtInfo.text : "";
    status = frm().lblComStat.caption;
  });
  h.runUntilClosedAt(26);
  EXPECT_EQ(info, "No Sync Response: Restarting...");
  EXPECT_EQ(status, "No Com");
}

}  // namespace
}  // namespace zr::test
