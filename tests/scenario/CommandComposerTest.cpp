// Mode, AGC, meter and PTT-enable commands as each firmware type gets them,
// against the simulated transceiver.
#include <gtest/gtest.h>

#include "core/CommandComposer.h"
#include "core/MeterDisplay.h"
#include "core/RadioLink.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class ComposerTest : public ::testing::TestWithParam<int> {
 protected:
  // A transceiver of the given firmware whose full report has been decoded.
  void start(int firmware) {
    h.connect(firmware);
    ASSERT_TRUE(h.queryReport());
  }
  CommandComposer& cmds() { return h.panel.cmds(); }
  TransceiverState& st() { return h.panel.st; }
  sim::TransceiverState& radio() { return h.simulator().model().state(); }
  EngineHarness h;
};

TEST_F(ComposerTest, ModeStepsPerFirmware) {
  start(1);
  radio().mode = 4;
  st().gMode = "M4";
  EXPECT_EQ(cmds().gModeStepCmd("M2"), "MM");
  st().gFwType = 3;
  EXPECT_EQ(cmds().gModeStepCmd("M2"), "mm");
  EXPECT_EQ(cmds().gModeStepCmd("M4"), "");
  EXPECT_EQ(cmds().gModeStepCmd("M1"), "m");
  st().gFwType = 2;
  EXPECT_EQ(cmds().gModeStepCmd("M2"), "M2");
  st().gFwType = 0;
  EXPECT_EQ(cmds().gModeStepCmd("M2"), "");
}

TEST_F(ComposerTest, SetModeOnAbsoluteFirmwareJoinsFrequency) {
  start(2);
  cmds().gSetMode("M2");
  EXPECT_EQ(h.written(), "M2\n" + st().gFreqCmd.str() + "\n");
  EXPECT_EQ(st().gMode, "M2");
  EXPECT_EQ(h.panel.frm.cmbMode.text, "LSB");
  EXPECT_EQ(radio().mode, 2);
}

TEST_F(ComposerTest, SetModeToTheCurrentModeSendsNothing) {
  start(3);
  cmds().gSetMode(st().gMode.str());
  EXPECT_EQ(h.written(), "");
}

TEST_F(ComposerTest, SetModeOnStepFirmwareStepsAroundTheCycle) {
  start(3);
  radio().mode = 4;
  st().gMode = "M4";
  cmds().gSetMode("M2");
  EXPECT_EQ(h.written(), "mm\n");
  EXPECT_EQ(radio().mode, 2);
  EXPECT_EQ(st().gMode, "M2");
}

TEST_F(ComposerTest, TypeOneModeStepThatFlipsPttEnableIsPutBack) {
  start(1);
  ASSERT_EQ(st().gPttEnable, "'1");
  cmds().gSetMode("M4");  // into CW: this firmware drops PTT enable
  EXPECT_EQ(radio().mode, 4);
  EXPECT_TRUE(radio().pttEnabled);
  EXPECT_EQ(st().gPttEnable, "'1");
  EXPECT_NE(h.written().find('\''), std::string::npos);
}

TEST_F(ComposerTest, StepModeWaitsForConfirmation) {
  start(2);
  const double t0 = h.now();
  cmds().gStepMode();
  EXPECT_EQ(radio().mode, 2);
  EXPECT_EQ(h.panel.frm.cmbMode.text, "LSB");
  EXPECT_LT(h.now() - t0, 1.0);
  EXPECT_NE(h.panel.frm.txtInfo.text, "Mode did not change..");
}

TEST_F(ComposerTest, StepModeUnconfirmedAfterTwoSecondsRequeries) {
  start(3);
  h.simulator().faults().silent = true;
  const double t0 = h.now();
  cmds().gStepMode();
  EXPECT_EQ(h.panel.frm.txtInfo.text, "Mode did not change..");
  const std::string w = h.written();
  EXPECT_EQ(w.substr(0, 2), "m\n");
  EXPECT_EQ(w.substr(w.size() - 2), "?\n");
  // 0.1 s send, 2 s of reads (each up to 0.8 s, so the last ends at 2.5 s),
  // then the query's 1.0 s and its 0.8 s read.
  EXPECT_NEAR(h.now() - t0, 0.1 + 2.4 + 1.0 + 0.8, 1e-6);
}

TEST_F(ComposerTest, AgcStepsOnTheThreePlaceCycle) {
  start(1);
  radio().agc = 4;
  st().gAgc = "A4";
  cmds().gSetAgc("A2");
  EXPECT_EQ(h.written(), "A\n");
  EXPECT_EQ(radio().agc, 2);
  h.radio.clearLog();
  cmds().gSetAgc("A4");
  EXPECT_EQ(h.written(), "AA\n");
  EXPECT_EQ(radio().agc, 4);
}

TEST_F(ComposerTest, AgcOffIsNeverStepped) {
  start(3);
  for (const char* from : {"A2", "A3", "A4"}) {
    st().gAgc = from;
    cmds().gSetAgc("A1");
  }
  EXPECT_EQ(h.written(), "");
}

TEST_F(ComposerTest, AgcOnAbsoluteFirmware) {
  start(2);
  cmds().gSetAgc("A1");
  EXPECT_EQ(h.written(), "A1\n" + st().gFreqCmd.str() + "\n");
  EXPECT_EQ(st().gAgc, "A1");
}

TEST_F(ComposerTest, MeterStepsWrapAroundSixSources) {
  start(3);
  radio().meterSource = 6;
  st().gMeterSource = "D6";
  cmds().gSetMeter("D1");
  EXPECT_EQ(h.written(), "D\n");
  EXPECT_EQ(radio().meterSource, 1);
  EXPECT_EQ(st().gMeterSource, "D1");
}

TEST_F(ComposerTest, MeterOnAbsoluteFirmwareSendsNothingAndShowsTheReportedSource) {
  start(2);
  st().gMeterSource = "D2";
  cmds().gSetMeter("D5");
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(h.panel.frm.optMeter[1].value, 1);
  EXPECT_EQ(h.panel.frm.lblMeter[1].foreColor, colours::ButtonText);
  EXPECT_EQ(h.panel.frm.lblMeter[4].foreColor, colours::GrayText);
}

TEST_F(ComposerTest, PttEnableToggle) {
  start(3);
  cmds().gTogglePttEnable();
  EXPECT_EQ(h.written(), "'0\n");
  EXPECT_EQ(st().gPttEnable, "'0");
  h.radio.clearLog();
  cmds().gTogglePttEnable();
  EXPECT_EQ(h.written(), "'1\n");

  st().gFwType = 1;
  h.simulator().model().setFirmware(1);
  h.radio.clearLog();
  cmds().gTogglePttEnable();
  EXPECT_EQ(h.written(), "'");
}

}  // namespace
}  // namespace zr::test
