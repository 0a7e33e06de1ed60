// The program from start to end against the simulated transceiver, in
// virtual time: startup, remote and local setup, the service loop, lost
// sync, control handed over at the radio, and shutdown.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/InstanceLock.h"
#include "core/MainLoop.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

const char* const kPortSetup = "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n";

class StartupTest : public ::testing::Test {
 protected:
  std::vector<double> timesOf(const std::string& command) {
    std::vector<double> t;
    for (const auto& c : h.simulator().commands())
      if (c.text == command) t.push_back(c.time);
    return t;
  }
  int count(const std::string& command) { return static_cast<int>(timesOf(command).size()); }
  MainWindowModel& frm() { return h.panel.frm; }

  TempWorkDir dir;
  EngineHarness h;
};

TEST_F(StartupTest, RemoteStartupSetsUpThePanelAndKeepsTheSyncGoing) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  h.attachSimulator(2);
  h.runUntilClosed(30);

  EXPECT_EQ(h.panel.mainLoop().controlMode, "REMOTE");
  EXPECT_EQ(frm().window.caption, "ZR-3817 0.962 : 11-21-17 : 1600");
  EXPECT_EQ(frm().lblFWType.caption, "F/W: v604 Adapt");
  EXPECT_EQ(frm().lblREMOTE.caption, "REMOTE");
  EXPECT_EQ(frm().lblComStat.caption, "Com OK");
  EXPECT_FALSE(frm().txtInfo.visible);
  EXPECT_TRUE(frm().fraBFO.visible && frm().fraBand.visible && frm().fraRightButtons.visible);
  EXPECT_TRUE(frm().cmdXmit.enabled && frm().cmdTune.enabled && frm().cmdAmpPwr.enabled);
  EXPECT_TRUE(frm().mnuScanBands.enabled);
  EXPECT_TRUE(h.radio.dtrEnable());
  EXPECT_EQ(frm().lblSplit.caption, "Split Off");
  EXPECT_EQ(frm().cmbStepSize.text, "OFF");

  // The first thing on the wire is the unkey, as the port opens; then the
  // status query, after the 0.5 s waits.
  const auto& cmds = h.simulator().commands();
  ASSERT_GE(cmds.size(), 2u);
  EXPECT_EQ(cmds[0].text, "U");
  EXPECT_NEAR(cmds[0].time, 0.5, 0.01);
  EXPECT_EQ(cmds[1].text, "?");
  EXPECT_NEAR(cmds[1].time, 1.0, 0.01);

  // Steady receive: "U" about every 2 s plus its 0.2 s pause, all answered.
  const auto syncs = timesOf("U");
  ASSERT_GE(syncs.size(), 5u);
  for (std::size_t i = 2; i < syncs.size(); ++i) EXPECT_NEAR(syncs[i] - syncs[i - 1], 2.2, 0.03);
  EXPECT_LE(h.panel.st.gMissedSyncs, 1);

  // Shutdown: the settings file, then "G00" as the last command.
  EXPECT_EQ(h.simulator().commands().back().text, "G00");
  EXPECT_FALSE(h.radio.isOpen());
  EXPECT_EQ(TempWorkDir::read("ZR3817ini.txt"), " 0 \r\n 0 \r\n0000000\r\nUSB\r\nSplit Off\r\nOFF\r\n");
}

TEST_F(StartupTest, AudioSettingsAreAlignedIncludingRemoteAudioWithANewSource) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  TempWorkDir::write("AudioSetup.txt", "H2 Phone Audio Source\r\n'1 PTT Enable\r\n\"0 LocalRemote Audio\r\n"
                                       "H3 Digital Audio Source\r\nV2 Digital VOX: [V1|V2|V3]\r\n");
  auto& sim = h.attachSimulator(3);
  sim.model().state().clipping = true;
  sim.model().state().vox = 1;
  h.runUntilClosed(20);
  const auto& s = sim.model().state();
  EXPECT_EQ(s.source, 2);
  EXPECT_EQ(s.localAudio, 0);
  EXPECT_FALSE(s.clipping);
  EXPECT_EQ(s.vox, 0);
  EXPECT_EQ(frm().cmbSource.text, "REMOTE");
}

TEST_F(StartupTest, LocalControlLeavesTheTransmitControlsDisabled) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  h.attachSimulator(3).setRemoteControl(false);
  h.runUntilClosed(15);

  EXPECT_EQ(h.panel.mainLoop().controlMode, "LOCAL");
  EXPECT_EQ(frm().lblFWType.caption, "F/W: v604M NonAdapt");
  EXPECT_EQ(h.panel.st.gFwType, 3);
  EXPECT_FALSE(frm().cmdXmit.enabled || frm().cmdTune.enabled || frm().cmdPTTEn.enabled);
  EXPECT_TRUE(frm().cmdViewInData.enabled);
  EXPECT_TRUE(frm().cmdF[3].enabled);
  EXPECT_FALSE(frm().lblU.visible);
  EXPECT_FALSE(frm().txtInData.visible);
  EXPECT_FALSE(frm().mnuScanFreqs.enabled);
  // No sync exchange under local control: only the unkey of the opening.
  EXPECT_EQ(count("U"), 1);
}

TEST_F(StartupTest, FirmwareTypeOneIsDetectedFromItsMarkers) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  h.attachSimulator(1);
  h.runUntilClosed(12);
  EXPECT_EQ(h.panel.st.gFwType, 1);
  EXPECT_EQ(frm().lblFWType.caption, "F/W: v601");
}

TEST_F(StartupTest, WithoutPortSetupTheDialogComesBeforeAnyQuery) {
  h.attachSimulator(2);
  auto input = [&](double at, const char* control, std::optional<std::string> text = {}) {
    InputEvent e;
    e.window = "frmPortSetup";
    e.control = control;
    e.text = std::move(text);
    h.inputAt(at, e);
  };
  input(3.0, "cmbSelectPort", "1");
  input(3.1, "cmdApply");
  h.runUntilClosed(12);

  EXPECT_FALSE(h.panel.settings.gExtPttEnabled);
  ASSERT_FALSE(h.simulator().commands().empty());
  EXPECT_GE(h.simulator().commands().front().time, 3.1);
  EXPECT_EQ(h.panel.mainLoop().controlMode, "REMOTE");
  EXPECT_EQ(h.panel.settings.gRadioSettings, "9600,O,7,1");
}

TEST_F(StartupTest, LostSyncRestartsTheQueryWithoutRepeatingTheSetup) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  auto& sim = h.attachSimulator(2);
  h.clock.scheduleAt(10, [&] { sim.faults().silent = true; });
  std::string restartText;
  h.clock.scheduleAt(30, [&] {
    restartText = h.panel.frm.txtInfo.text;
    sim.faults().silent = false;
  });
  h.runUntilClosed(45);

  EXPECT_EQ(restartText, "No Sync Response: Restarting...");
  EXPECT_EQ(frm().lblComStat.caption, "Com OK");
  EXPECT_EQ(h.panel.mainLoop().controlMode, "REMOTE");
  // The remote setup switches the BFO on once; a restart does not repeat it.
  EXPECT_EQ(count("B100"), 2);
  const auto syncs = timesOf("U");
  ASSERT_FALSE(syncs.empty());
  EXPECT_GT(syncs.back(), 40.0);
}

TEST_F(StartupTest, ControlTakenAtTheRadioAndHandedBack) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  auto& sim = h.attachSimulator(2);
  bool localSeen = false;
  h.clock.scheduleAt(12, [&] { sim.setRemoteControl(false); });
  h.clock.scheduleAt(25, [&] {
    localSeen = h.panel.mainLoop().controlMode == "LOCAL" && !h.panel.frm.cmdXmit.enabled;
    sim.setRemoteControl(true);
  });
  // Under local control the panel does not poll: the operator refreshes.
  h.clickAt(30, "cmdGetStatus");
  h.runUntilClosed(45);
  EXPECT_TRUE(localSeen);
  EXPECT_EQ(h.panel.mainLoop().controlMode, "REMOTE");
  EXPECT_TRUE(frm().cmdXmit.enabled);
}

TEST_F(StartupTest, SettingsOfThePreviousRunAreRestoredAndSavedAgain) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  const std::string ini = " 1440 \r\n 990 \r\n0712345\r\nLSB\r\nSplit On\r\n1kHz\r\n";
  TempWorkDir::write("ZR3817ini.txt", ini);
  h.attachSimulator(2);
  h.runUntilClosed(12);
  std::string vfoB;
  for (auto& d : frm().cmdVFOB) vfoB += d.caption;
  EXPECT_EQ(vfoB, "0712345");
  EXPECT_EQ(frm().window.left, 1440);
  EXPECT_TRUE(frm().optTXVFO[1].selected());
  EXPECT_EQ(TempWorkDir::read("ZR3817ini.txt"), ini);
}

TEST_F(StartupTest, ShortIniFileAndOddVfoBLineAreTolerated) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  TempWorkDir::write("ZR3817ini.txt", "100\r\n\r\n071234\r\n");
  h.attachSimulator(2);
  h.runUntilClosed(12);
  EXPECT_EQ(frm().window.left, 100);
  EXPECT_EQ(frm().window.top, 0);
  EXPECT_EQ(frm().cmdVFOB[6].caption, "0");
  EXPECT_EQ(frm().lblSplit.caption, "Split Off");
  EXPECT_TRUE(frm().optTXVFO[0].selected());
  EXPECT_EQ(frm().cmbStepSize.text, "OFF");
}

TEST_F(StartupTest, MissingRadioPortIsNamedAndWaitedFor) {
  TempWorkDir::write("PortSetup.txt", "5\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
  h.attachSimulator(2);
  h.radio.setDevicePresent(false);
  std::string waiting;
  h.clock.scheduleAt(5, [&] { waiting = h.panel.frm.txtInfo.text + "|" + h.panel.frm.lblComStat.caption; });
  h.runUntilClosed(10);
  EXPECT_EQ(waiting.rfind("Port is not available. Use Setup menu or Exit.\r\n", 0), 0u) << waiting;
  EXPECT_EQ(waiting.substr(waiting.size() - 8), "|No Port") << waiting;
  EXPECT_TRUE(h.simulator().commands().empty());
}

TEST_F(StartupTest, CatPortThatDoesNotExistIsShownInBothBoxes) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  TempWorkDir::write("CATSetup.txt", "9\r\n4800,N,8,1\r\ncomNone\r\nTS-50\r\n");
  h.attachSimulator(2);
  h.runUntilClosed(8);
  EXPECT_EQ(frm().txtInCat.text, "No CAT Port");
  EXPECT_EQ(frm().txtOutCAT.text, "No CAT Port");
  EXPECT_EQ(h.panel.mainLoop().controlMode, "REMOTE");
}

TEST_F(StartupTest, ASecondInstanceIsRefused) {
  InstanceLock first;
  ASSERT_TRUE(first.acquire());
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  h.attachSimulator(2);
  h.panel.run();
  ASSERT_EQ(h.host.messages.size(), 1u);
  EXPECT_EQ(h.host.messages[0], "ZR-3817 0.962 : 11-21-17 : 1600 is already running. OK to Close this program.");
  EXPECT_TRUE(h.simulator().commands().empty());
}

TEST_F(StartupTest, ClosingWhileKeyedUnkeysBeforeThePortsClose) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  h.attachSimulator(2);
  h.clock.scheduleAt(15, [&] { h.panel.st.gKeyCmd = "K"; });
  h.runUntilClosed(20);
  const auto& cmds = h.simulator().commands();
  ASSERT_GE(cmds.size(), 2u);
  EXPECT_EQ(cmds[cmds.size() - 2].text, "U");
  EXPECT_EQ(cmds.back().text, "G00");
}

TEST(StartupMidnightTest, AmplifierTuneRunningTooLongIsCancelledAcrossMidnight) {
  TempWorkDir dir;
  EngineHarness h{23 * 3600.0 + 59 * 60.0 + 30.0};
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  h.attachSimulator(2);
  std::string atNineteen, atTwentyOne;
  double started = 0;
  h.clock.scheduleAt(15, [&] {  // 23:59:45
    h.panel.st.gAmpTuning = true;
    h.panel.st.gAmpTuneStart = started = h.clock.now();
    h.panel.st.gKeyCmd = "K";
  });
  h.clock.scheduleAt(15 + 19.5, [&] { atNineteen = h.panel.frm.txtInfo.text; });
  h.clock.scheduleAt(15 + 21, [&] { atTwentyOne = h.panel.frm.txtInfo.text; });
  InputEvent close;
  close.window = "frmZR3817";
  close.kind = EventKind::Close;
  h.inputAt(40, close);
  h.panel.run();
  EXPECT_GT(started, 86000.0);
  EXPECT_NE(atNineteen, "Timeout: Tune Cancelled");
  EXPECT_EQ(atTwentyOne, "Timeout: Tune Cancelled");
  EXPECT_FALSE(h.panel.st.gAmpTuning);
  EXPECT_EQ(h.panel.st.gKeyCmd, "U");
}

TEST_F(StartupTest, ExternalPttLineFollowsDsr) {
  TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n1\r\n");
  h.attachSimulator(2);
  Colour pressed = 0, released = 0;
  h.clock.scheduleAt(12, [&] { h.radio.setDsr(false); });
  h.clock.scheduleAt(12.5, [&] { pressed = h.panel.frm.lblExtPTT.backColor; });
  h.clock.scheduleAt(13, [&] { h.radio.setDsr(true); });
  h.clock.scheduleAt(13.5, [&] { released = h.panel.frm.lblExtPTT.backColor; });
  h.runUntilClosed(15);
  EXPECT_TRUE(h.panel.settings.gExtPttEnabled);
  EXPECT_EQ(pressed, colours::Red);
  EXPECT_EQ(released, colours::Green);
  EXPECT_TRUE(h.host.messages.empty());
}

TEST_F(StartupTest, AnIdlePanelSleepsUntilWorkIsDueAndWakesForTheRadio) {
  TempWorkDir::write("PortSetup.txt", kPortSetup);
  h.attachSimulator(2);
  // Every pump and every wake of a wait runs the wait services.
  int wakes = 0;
  h.panel.engine.addWaitService([&] {
    wakes += h.now() >= 20 && h.now() < 30;
    return -1.0;
  });
  // The sync character shows for a second after its 0.2 s pause and is
  // blank for the next.
  std::vector<std::pair<double, std::string>> shown;
  for (double t = 20; t < 30; t += 0.01) h.clock.scheduleAt(t, [&, t] { shown.emplace_back(t, frm().lblU.caption); });
  // Between a blank and the next sync, a line the radio sends unasked.
  double unasked = 0;
  std::string freqSoonAfter;
  h.clock.scheduleAt(20, [&] {
    unasked = timesOf("U").back() + 1.5;
    h.replyAt(unasked, "F0707400\n");
    h.clock.scheduleAt(unasked + 0.1, [&] { freqSoonAfter = h.panel.st.gFreqCmd; });
  });
  h.runUntilClosed(30);

  EXPECT_LT(wakes, 150) << "ten seconds of steady receive; waking every 20 ms would make a thousand";
  EXPECT_EQ(freqSoonAfter, "F0707400") << "read at " << unasked << " + 0.1 s";
  for (const double sync : timesOf("U")) {
    if (sync < 20 || sync > 28) continue;
    for (const auto& [t, caption] : shown) {
      if (t > sync + 0.25 && t < sync + 1.19) {
        EXPECT_EQ(caption, "U") << t - sync;
      } else if (t > sync + 1.23 && t < sync + 2.19) {
        EXPECT_EQ(caption, "") << t - sync;
      }
    }
  }
}

TEST_F(StartupTest, StuckExternalPttAtStartIsReported) {
  TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n1\r\n");
  h.attachSimulator(2);
  h.radio.setDsr(false);
  h.runUntilClosed(10);
  ASSERT_EQ(h.host.messages.size(), 1u);
  EXPECT_EQ(h.host.messages[0], "Check for stuck Push-to-Talk key, then click OK.");
}

}  // namespace
}  // namespace zr::test
