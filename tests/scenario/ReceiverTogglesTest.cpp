// BFO, RF gain and the toggle buttons against the simulated transceiver:
// the bytes each sends and what the controls show afterwards.
#include <gtest/gtest.h>

#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "panel/ReceiverToggles.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class ReceiverTogglesTest : public ::testing::Test {
 protected:
  void start(int firmware) {
    h.connect(firmware);
    ASSERT_TRUE(h.queryReport());
  }
  void post(const std::string& control, EventKind kind, std::optional<int> value = {}) {
    InputEvent e;
    e.window = frm().name();
    e.control = control;
    e.kind = kind;
    e.value = value;
    h.panel.engine.post(e);
    h.panel.engine.pump();
  }
  void click(const std::string& control) { post(control, EventKind::Click); }
  // The operator drags the BFO bar; the offset worker runs as the loop would.
  void moveBfo(int value) {
    post("vscBFO", EventKind::Change, value);
    ASSERT_TRUE(t().bfoOffsetPending);
    t().bfoOffsetCmd();
  }
  ReceiverToggles& t() { return h.panel.toggles(); }
  TransceiverState& st() { return h.panel.st; }
  MainWindowModel& frm() { return h.panel.frm; }
  sim::TransceiverState& radio() { return h.simulator().model().state(); }
  EngineHarness h;
};

TEST_F(ReceiverTogglesTest, BfoOffsetAcrossTheBarWhileOn) {
  start(2);
  click("cmdBFO");
  EXPECT_TRUE(t().bfoPending);
  t().bfoCmd();
  EXPECT_FALSE(t().bfoPending);
  EXPECT_TRUE(h.panel.form.bfoOn);
  EXPECT_EQ(frm().cmdBFO.caption, "OFF");
  EXPECT_EQ(frm().lblBFOOn.caption, "BFO");
  EXPECT_TRUE(frm().vscBFO.enabled);
  // Switching on sends the offset the bar shows (the bottom).
  ASSERT_TRUE(t().bfoOffsetPending);
  t().bfoOffsetCmd();
  EXPECT_EQ(h.written(), "B000\n");

  struct Case {
    int value;
    const char *shown, *sign, *wire;
  };
  for (const Case& c : {Case{200, "1000", "+", "B200\n"}, Case{100, "000", "", "B100\n"},
                        Case{55, "-450", "-", "B055\n"}, Case{0, "-1000", "-", "B000\n"}}) {
    h.radio.clearLog();
    moveBfo(c.value);
    EXPECT_EQ(frm().txtBFO.text, c.shown) << c.value;
    EXPECT_EQ(frm().lblPorM.caption, c.sign) << c.value;
    EXPECT_EQ(h.written(), c.wire) << c.value;
    EXPECT_EQ(h.panel.form.gBfoOffset, std::string(c.wire).substr(1, 3));
  }
  h.panel.link().gReadResponse();
  EXPECT_EQ(radio().bfo, 0);
}

TEST_F(ReceiverTogglesTest, BfoOffSendsNoOffsetAndOnRestoresTheBar) {
  start(2);
  moveBfo(150);
  EXPECT_EQ(frm().txtBFO.text, "500");
  EXPECT_EQ(frm().lblPorM.caption, "+");
  EXPECT_EQ(h.written(), "");  // the BFO is off

  t().bfoCmd();  // on
  t().bfoOffsetCmd();
  EXPECT_EQ(h.written(), "B150\n");
  h.radio.clearLog();

  t().bfoCmd();  // off
  EXPECT_EQ(h.written(), "B100\n");
  EXPECT_FALSE(h.panel.form.bfoOn);
  EXPECT_EQ(frm().cmdBFO.caption, "ON");
  EXPECT_EQ(h.panel.form.gBfoOffset, "100");
  EXPECT_FALSE(frm().vscBFO.enabled);
  EXPECT_EQ(frm().vscBFO.value, 150);
  EXPECT_EQ(frm().lblBFOOn.caption, "");
  EXPECT_EQ(frm().lblPorM.caption, "");
  // A disabled bar takes no input.
  post("vscBFO", EventKind::Change, 20);
  EXPECT_EQ(frm().vscBFO.value, 150);
  h.radio.clearLog();

  t().bfoCmd();  // on again
  t().bfoOffsetCmd();
  EXPECT_EQ(h.written(), "B150\n");
  h.panel.link().gReadResponse();
  EXPECT_EQ(radio().bfo, 150);
}

TEST_F(ReceiverTogglesTest, RfGainAcrossTheBar) {
  start(3);
  struct Case {
    int value;
    const char *shown, *wire;
  };
  for (const Case& c : {Case{63, "100", "G00\n"}, Case{58, "092", "G05\n"}, Case{0, "000", "G63\n"}}) {
    h.radio.clearLog();
    post("vscRFG", EventKind::Change, c.value);
    EXPECT_EQ(frm().txtRFG.text, c.shown) << c.value;
    ASSERT_TRUE(t().rfGainPending);
    EXPECT_EQ(h.written(), "");
    t().rfGainCmd();
    EXPECT_FALSE(t().rfGainPending);
    EXPECT_EQ(h.written(), c.wire) << c.value;
  }
  // No reply is read: the answer waits for the loop.
  EXPECT_GT(h.radio.inBufferCount(), 0);
  EXPECT_EQ(radio().rfGain, 63);
}

TEST_F(ReceiverTogglesTest, MuteSendsTheOppositeOfWhatIsShownAndNothingBeforeAReport) {
  start(2);
  frm().lblMute.caption.clear();  // as before the first report
  click("cmdMute");
  t().muteCmd();
  EXPECT_FALSE(t().mutePending);
  EXPECT_EQ(h.written(), "");

  frm().lblMute.caption = "ON";
  t().muteCmd();
  EXPECT_EQ(h.written(), "(0\n");
  h.panel.link().gReadResponse();
  h.panel.display().gUpdateDisplay();
  EXPECT_EQ(frm().lblMute.caption, "OFF");
  h.radio.clearLog();
  t().muteCmd();
  EXPECT_EQ(h.written(), "(1\n");
}

TEST_F(ReceiverTogglesTest, TogglesWaitForTheLoopThenSendAndReadTheReply) {
  start(2);
  click("cmdClipping");
  click("cmdSideTone");
  click("cmdVOX");
  EXPECT_EQ(h.written(), "");
  EXPECT_TRUE(t().clipPending && t().sideTonePending && t().voxPending);

  t().clipCmd();
  EXPECT_EQ(h.written(), "I\n");
  EXPECT_EQ(st().gClip, "I1");
  h.radio.clearLog();

  ASSERT_EQ(frm().lblSideTone.caption, "OFF");
  t().sideToneCmd();
  EXPECT_EQ(h.written(), "S\n");
  // Side tone is shown at once, not at the next update.
  EXPECT_EQ(frm().lblSideTone.caption, "ON");
  EXPECT_FALSE(st().gSideToneChanged);
  h.radio.clearLog();

  t().voxCmd();
  EXPECT_EQ(h.written(), "V\n");
  EXPECT_EQ(st().gVox, "V1");
  EXPECT_FALSE(t().clipPending || t().sideTonePending || t().voxPending);
}

TEST_F(ReceiverTogglesTest, TestSendsAtOnceWithoutWaiting) {
  start(2);
  const double t0 = h.now();
  click("cmdTest");
  EXPECT_EQ(h.written(), "Z\n");
  EXPECT_EQ(h.now(), t0);
  // Nothing is read: the fault line waits for the loop.
  h.panel.link().gReadResponse();
  EXPECT_EQ(st().gFault, "Z0");
  EXPECT_TRUE(st().gFaultChanged);
}

TEST_F(ReceiverTogglesTest, RefreshQueriesWithoutReading) {
  start(2);
  click("cmdGetStatus");
  const double t0 = h.now();
  t().refreshCmd();
  EXPECT_FALSE(t().refreshPending);
  EXPECT_EQ(h.written(), "?\n");
  EXPECT_NEAR(h.now() - t0, 0.6, 1e-9);
  EXPECT_GT(h.radio.inBufferCount(), 0);
}

TEST_F(ReceiverTogglesTest, ViewDataTogglesTheBoxAndCaption) {
  start(2);
  ASSERT_TRUE(frm().txtInData.visible);
  click("cmdViewInData");
  t().viewDataCmd();
  EXPECT_FALSE(t().viewDataPending);
  EXPECT_FALSE(frm().txtInData.visible);
  EXPECT_EQ(frm().cmdViewInData.caption, "Show Data");
  frm().txtInData.text = "old<";
  t().viewDataCmd();
  EXPECT_TRUE(frm().txtInData.visible);
  EXPECT_EQ(frm().txtInData.text, "");
  EXPECT_EQ(frm().cmdViewInData.caption, "Hide Data");
  EXPECT_EQ(h.written(), "");
}

}  // namespace
}  // namespace zr::test
