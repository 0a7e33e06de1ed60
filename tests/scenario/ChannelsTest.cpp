// The channel frame and the band buttons against the simulated transceiver:
// the exact commands, what the VFO digits show afterwards, and the lock on
// the VFO A digits while the radio runs from its channels.
#include <gtest/gtest.h>

#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "lists/BandSelect.h"
#include "panel/Channels.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class ChannelsTest : public ::testing::Test {
 protected:
  // VFO A at `freq` in `mode` as the transceiver reports it, channel digits `chan`.
  void start(int freq = 1425000, int mode = 1, const std::string& chan = "03") {
    h.connect(2);
    h.simulator().model().state().frequency = freq;
    h.simulator().model().state().mode = mode;
    refresh();
    ASSERT_TRUE(h.panel.st.gResponseComplete);
    frm().cmdM[0].caption = chan.substr(0, 1);
    frm().cmdM[1].caption = chan.substr(1, 1);
    h.radio.clearLog();
  }
  // What the service loop would do next: read the reply and show it.
  void refresh() {
    h.panel.link().gSendCommand("?", true, 0.6);
    h.panel.link().gReadResponse();
    h.panel.display().gUpdateDisplay();
  }
  void input(const std::string& control, int index = -1, EventKind kind = EventKind::Click, int button = 0) {
    post(control, index, kind, button);
    h.panel.engine.pump();
  }
  // A digit press and its release, delivered together.
  void press(int digit) {
    post("cmdF", digit, EventKind::MouseDown, 1);
    post("cmdF", digit, EventKind::MouseUp, 1);
    h.panel.engine.pump();
  }
  void post(const std::string& control, int index, EventKind kind, int button) {
    InputEvent e;
    e.window = frm().name();
    e.control = control;
    e.index = index;
    e.kind = kind;
    e.button = button;
    h.panel.engine.post(e);
  }
  std::string takeWritten() {
    std::string w = h.written();
    h.radio.clearLog();
    return w;
  }
  std::string vfoA() const {
    std::string s;
    for (const auto& d : h.panel.frm.cmdF) s += d.caption;
    return s;
  }
  MainWindowModel& frm() { return h.panel.frm; }

  EngineHarness h;
  Channels& ch = h.panel.channels();
};

TEST_F(ChannelsTest, ChannelsAndBackRestoresTheVfoDigitsAndMode) {
  start(1425000, 2, "03");
  input("optChan", 0);
  EXPECT_EQ(takeWritten(), "C03\n");
  EXPECT_TRUE(h.panel.form.txActive);
  EXPECT_EQ(ch.savedVfoDigits, "1425000");
  EXPECT_EQ(ch.savedMode, "M2");

  refresh();  // channel 03 holds 3 535.00 kHz CW
  EXPECT_EQ(vfoA(), "0353500");
  EXPECT_EQ(frm().cmbMode.text, "CW");

  input("optChan", 1);
  EXPECT_EQ(vfoA(), "1425000");
  const std::string sent = takeWritten();
  EXPECT_NE(sent.find("M2\n"), std::string::npos) << sent;
  EXPECT_EQ(sent.substr(sent.size() - 9), "F1425000\n");
  EXPECT_FALSE(h.panel.form.txActive);
  refresh();
  EXPECT_EQ(h.simulator().model().state().channel, -1);
  EXPECT_EQ(h.simulator().model().state().frequency, 1425000);
  EXPECT_EQ(h.simulator().model().state().mode, 2);
}

TEST_F(ChannelsTest, ChannelInUseIsNotSelectedAgain) {
  start(1425000, 1, "07");
  h.panel.st.gChannel = "C07";
  input("optChan", 0);
  EXPECT_EQ(h.written(), "");
  EXPECT_TRUE(h.panel.form.txActive);
}

TEST_F(ChannelsTest, RepeatedClicksNeitherLoseNorReapplyTheSavedVfo) {
  start(1425000, 1, "03");
  input("optChan", 0);
  refresh();
  // Clicked again while the channel's frequency shows: the VFO must survive.
  input("optChan", 0);
  EXPECT_EQ(ch.savedVfoDigits, "1425000");
  input("optChan", 1);
  EXPECT_EQ(vfoA(), "1425000");
  refresh();
  h.radio.clearLog();
  // Back on the VFO: a second "Use VFO" must not tune back to the old value.
  input("optChan", 1);
  EXPECT_EQ(h.written(), "");
  EXPECT_FALSE(h.panel.form.txActive);
}

TEST_F(ChannelsTest, VfoDigitsAreLockedWhileOnChannels) {
  start(1425000, 1, "03");
  input("optChan", 0);
  refresh();
  h.radio.clearLog();
  press(2);
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(vfoA(), "0353500");

  input("optChan", 1);
  refresh();
  h.radio.clearLog();
  press(2);
  EXPECT_EQ(vfoA(), "1435000");
  EXPECT_NE(h.written().find("F1435000\n"), std::string::npos);
}

TEST_F(ChannelsTest, VfoToMemoryStoresFrequencyAndModeDigit) {
  start(1425000, 2, "12");
  input("cmdV2M");
  EXPECT_TRUE(ch.v2mPending);
  ch.v2mCmd();
  EXPECT_FALSE(ch.v2mPending);
  EXPECT_EQ(h.written(), "P1214250002\n");
  refresh();
  const auto& stored = h.simulator().model().state().memory[12];
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->frequency, 1425000);
  EXPECT_EQ(stored->mode, 2);
}

TEST_F(ChannelsTest, VfoToMemoryBeforeAnyReportStoresNothing) {
  h.attachSimulator(2);
  h.openRadioPort();
  ch.v2mPending = true;
  ch.v2mCmd();
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(h.host.beeps, 1);
  EXPECT_FALSE(ch.v2mPending);
}

TEST_F(ChannelsTest, MemoryToVfoSelectsTheChannel) {
  start(1425000, 1, "03");
  input("cmdM2V");
  EXPECT_TRUE(ch.m2vPending);
  ch.m2vCmd();
  EXPECT_FALSE(ch.m2vPending);
  EXPECT_EQ(h.written(), "C03\n");
  EXPECT_EQ(frm().lblInfo.caption, "Channel 03");
}

TEST_F(ChannelsTest, EachBandButtonRaisesItsOwnFlag) {
  for (std::size_t i = 0; i < Channels::kBandButtons.size(); ++i) {
    input(Channels::kBandButtons[i]);
    for (std::size_t j = 0; j < ch.bandPending.size(); ++j) EXPECT_EQ(ch.bandPending[j], i == j) << i << " " << j;
    ch.bandPending[i] = false;
  }
}

TEST_F(ChannelsTest, BandButtonOpensTheBandWindowOverADisabledMainWindow) {
  input("cmd60M");
  bool disabledWhileOpen = false;
  std::string band;
  h.clock.scheduleAt(h.now() + 1, [&] {
    disabledWhileOpen = !frm().window.enabled && ch.bandSelect().model().window.visible;
    band = ch.gBandName;
  });
  InputEvent ok;
  ok.window = "frmBandSelect";
  ok.control = "cmdExit";
  h.inputAt(h.now() + 2, ok);
  ch.bandCmd(2);
  EXPECT_TRUE(disabledWhileOpen);
  EXPECT_EQ(band, "60");
  EXPECT_FALSE(ch.bandSelect().model().window.visible);
  EXPECT_TRUE(frm().window.enabled);
  EXPECT_FALSE(ch.bandPending[2]);
}

}  // namespace
}  // namespace zr::test
