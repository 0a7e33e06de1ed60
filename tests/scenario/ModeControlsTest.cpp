// The mode, AGC, audio source and digital mode lists against the simulated
// transceiver: what each firmware type gets on the wire, and what the lists
// show afterwards.
#include <gtest/gtest.h>

#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "panel/ModeControls.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class ModeControlsTest : public ::testing::Test {
 protected:
  // A transceiver of the given firmware whose full report has been decoded
  // and shown, optionally after changing the simulated radio first.
  void start(int firmware) {
    h.connect(firmware);
    query();
  }
  void query() {
    ASSERT_TRUE(h.queryReport());
  }
  // The operator picks `text` from a list; the handler runs at the pump.
  void choose(const std::string& list, const std::string& text) {
    InputEvent e;
    e.window = h.panel.frm.name();
    e.control = list;
    e.kind = EventKind::Click;
    e.text = text;
    h.panel.engine.post(e);
    h.panel.engine.pump();
  }
  // The worker, then the loop's read of whatever answer is still waiting.
  void serveDig() {
    modes().digCmd();
    if (h.radio.inBufferCount() > 0) h.panel.link().gReadResponse();
  }
  ModeControls& modes() { return h.panel.modes(); }
  TransceiverState& st() { return h.panel.st; }
  MainWindowModel& frm() { return h.panel.frm; }
  sim::TransceiverState& radio() { return h.simulator().model().state(); }
  EngineHarness h;
};

TEST_F(ModeControlsTest, ModeClickOnlyRaisesTheFlagAndTheWorkerSteps) {
  start(1);
  radio().mode = 3;
  query();
  choose("cmbMode", "USB");
  EXPECT_TRUE(modes().modePending);
  EXPECT_EQ(h.written(), "");
  modes().modeCmd();
  EXPECT_FALSE(modes().modePending);
  EXPECT_EQ(h.written(), "MM\n");
  EXPECT_EQ(radio().mode, 1);
  EXPECT_EQ(frm().cmbMode.text, "USB");
}

TEST_F(ModeControlsTest, ModeOnAbsoluteFirmwareCarriesTheFrequency) {
  start(2);
  choose("cmbMode", "LSB");
  modes().modeCmd();
  EXPECT_EQ(h.written(), "M2\nF1425000\n");
  EXPECT_EQ(st().gMode, "M2");
  EXPECT_EQ(frm().cmbMode.text, "LSB");
}

class PerFirmware : public ModeControlsTest, public ::testing::WithParamInterface<int> {};
using UnknownModeText = PerFirmware;
using AgcOffOnStepFirmware = PerFirmware;
using SourceFromRemoteAudio = PerFirmware;
using DigitalMode = PerFirmware;

TEST_P(UnknownModeText, SendsNothing) {
  start(GetParam());
  radio().mode = 2;
  query();
  choose("cmbMode", "FM");
  modes().modeCmd();
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(radio().mode, 2);
}
INSTANTIATE_TEST_SUITE_P(Firmware, UnknownModeText, ::testing::Values(1, 2, 3));

TEST_F(ModeControlsTest, AgcStepsOnStepFirmware) {
  start(3);
  radio().agc = 4;
  query();
  choose("cmbAGC", "SLOW");
  modes().agcCmd();
  EXPECT_FALSE(modes().agcPending);
  EXPECT_EQ(h.written(), "a\n");
  EXPECT_EQ(radio().agc, 2);
  EXPECT_EQ(st().gAgc, "A2");
}

TEST_P(AgcOffOnStepFirmware, IsRefusedAndTheListSnapsBack) {
  start(GetParam());
  radio().agc = 4;
  query();
  choose("cmbAGC", "OFF");
  ASSERT_EQ(frm().cmbAGC.text, "OFF");
  modes().agcCmd();
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(frm().cmbAGC.text, "FAST");
  EXPECT_FALSE(modes().agcPending);
}
INSTANTIATE_TEST_SUITE_P(Firmware, AgcOffOnStepFirmware, ::testing::Values(1, 3));

TEST_F(ModeControlsTest, AgcOffOnAbsoluteFirmware) {
  start(2);
  choose("cmbAGC", "OFF");
  modes().agcCmd();
  EXPECT_EQ(h.written(), "A1\nF1425000\n");
  EXPECT_EQ(radio().agc, 1);
  EXPECT_EQ(st().gAgc, "A1");
}

TEST_P(SourceFromRemoteAudio, SwitchesToLocalFirst) {
  start(GetParam());
  radio().localAudio = 0;
  radio().source = 2;
  query();
  ASSERT_EQ(frm().cmbSource.text, "REMOTE");
  choose("cmbSource", "MIC");
  modes().sourceCmd();
  EXPECT_FALSE(modes().sourcePending);
  // Firmware 1 toggles, the others take the local code.
  EXPECT_EQ(h.written(), GetParam() == 1 ? "\"\nHH\n" : "\"1\nHH\n");
  EXPECT_EQ(radio().localAudio, 1);
  EXPECT_EQ(radio().source, 1);
  // The reply has been read.
  EXPECT_EQ(st().gLocalRemote, "\"1");
  EXPECT_EQ(st().gSource, "H1");
}
INSTANTIATE_TEST_SUITE_P(Firmware, SourceFromRemoteAudio, ::testing::Values(1, 2, 3));

TEST_F(ModeControlsTest, SourceStepsForwardAroundTheCycle) {
  start(2);
  choose("cmbSource", "PATCH");
  modes().sourceCmd();
  EXPECT_EQ(h.written(), "HH\n");
  EXPECT_EQ(st().gSource, "H3");
  h.radio.clearLog();
  choose("cmbSource", "AUDIO2");
  modes().sourceCmd();
  EXPECT_EQ(h.written(), "HH\n");
  EXPECT_EQ(st().gSource, "H2");
}

TEST_F(ModeControlsTest, SourceLeavesOffCwByStepping) {
  start(2);
  radio().source = 4;
  query();
  choose("cmbSource", "AUDIO2");
  modes().sourceCmd();
  EXPECT_EQ(h.written(), "HH\n");
  EXPECT_EQ(radio().source, 2);
}

TEST_F(ModeControlsTest, RemoteSourceSetsRemoteAudioAndOffCwSendsNothing) {
  start(2);
  choose("cmbSource", "OFF/CW");
  modes().sourceCmd();
  EXPECT_EQ(h.written(), "");

  choose("cmbSource", "REMOTE");
  modes().sourceCmd();
  EXPECT_EQ(h.written(), "\"0\n");
  EXPECT_EQ(radio().localAudio, 0);
  EXPECT_EQ(st().gLocalRemote, "\"0");
  h.panel.display().gUpdateDisplay();
  EXPECT_EQ(frm().cmbSource.text, "REMOTE");
}

TEST_F(ModeControlsTest, SetLocalRemoteGivesUpOnASilentTransceiver) {
  start(2);
  h.simulator().faults().silent = true;
  const double t0 = h.now();
  modes().setLocalRemote("REMOTE");
  EXPECT_EQ(h.written(), "\"0\n\"0\n\"0\n\"0\n");
  // Four passes of a 0.2 s send and a 0.8 s reply wait.
  EXPECT_NEAR(h.now() - t0, 4.0, 1e-6);
  EXPECT_EQ(st().gLocalRemote, "\"1");
}

TEST_F(ModeControlsTest, SetLocalRemoteStopsOnceConfirmed) {
  start(1);
  modes().setLocalRemote("LOCAL");  // already local
  EXPECT_EQ(h.written(), "");
  modes().setLocalRemote("REMOTE");
  EXPECT_EQ(h.written(), "\"\n");
  EXPECT_EQ(radio().localAudio, 0);
  modes().setLocalRemote("SIDEWAYS");
  EXPECT_EQ(h.written(), "\"\n");
}

TEST_F(ModeControlsTest, ToggleLocalRemote) {
  start(3);
  modes().toggleLocalRemote();
  EXPECT_EQ(h.written(), "\"0\n");
  EXPECT_EQ(st().gLocalRemote, "\"0");
  h.radio.clearLog();
  modes().toggleLocalRemote();
  EXPECT_EQ(h.written(), "\"1\n");
  EXPECT_EQ(st().gLocalRemote, "\"1");

  st().gFwType = 1;
  h.simulator().model().setFirmware(1);
  h.radio.clearLog();
  modes().toggleLocalRemote();
  EXPECT_EQ(h.written(), "\"\n");
  EXPECT_EQ(st().gLocalRemote, "\"0");
}

TEST_F(ModeControlsTest, ToggleBeforeAnyReportSendsNothing) {
  h.connect(2);
  modes().toggleLocalRemote();
  EXPECT_EQ(h.written(), "");
}

// Digital mode on every firmware type: PSK, a second digital mode, then OFF.
TEST_P(DigitalMode, OffRestoresWhatWasInForceBeforeTheFirstDigitalMode) {
  start(GetParam());
  radio().localAudio = 0;  // remote audio
  radio().source = 1;
  radio().vox = 0;
  query();
  h.panel.settings.gDigAudioSource = "H3";
  h.panel.settings.gDigVox = "V2";

  choose("cmbDig", "PSK");
  EXPECT_TRUE(modes().digPending);
  serveDig();
  EXPECT_FALSE(modes().digPending);
  EXPECT_EQ(radio().localAudio, 1);
  EXPECT_EQ(radio().source, 3);
  EXPECT_EQ(radio().vox, 2);

  // Meanwhile the source was changed; a second digital mode sets it again
  // but keeps what was saved on the first.
  radio().source = 2;
  query();
  choose("cmbDig", "RTTY");
  serveDig();
  EXPECT_EQ(radio().source, 3);

  choose("cmbDig", "OFF");
  serveDig();
  EXPECT_EQ(radio().localAudio, 0);
  EXPECT_EQ(radio().source, 1);
  EXPECT_EQ(radio().vox, 0);
  EXPECT_EQ(st().gLocalRemote, "\"0");
  EXPECT_EQ(st().gVox, "V0");

  // Everything saved was spent: the next digital mode saves afresh.
  radio().localAudio = 1;
  radio().source = 2;
  radio().vox = 1;
  query();
  choose("cmbDig", "FSK");
  serveDig();
  choose("cmbDig", "OFF");
  serveDig();
  EXPECT_EQ(radio().localAudio, 1);
  EXPECT_EQ(radio().source, 2);
  EXPECT_EQ(radio().vox, 1);
}

INSTANTIATE_TEST_SUITE_P(Firmware, DigitalMode, ::testing::Values(1, 2, 3));

TEST_F(ModeControlsTest, DigitalModeWithUnusableSettingsOnlyGoesLocal) {
  start(3);
  radio().localAudio = 0;
  query();
  h.panel.settings.gDigAudioSource = "";
  h.panel.settings.gDigVox = "X";
  choose("cmbDig", "PSK");
  modes().digCmd();
  EXPECT_EQ(h.written(), "\"1\n");
}

}  // namespace
}  // namespace zr::test
