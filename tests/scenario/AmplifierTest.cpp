// The amplifier's power, operate and tune buttons against the simulated
// transceiver and amplifier, in virtual time.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "core/SyncPoller.h"
#include "panel/Amplifier.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

class AmplifierTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.attachSimulator(2);
    h.simulator().model().setWarmupTime(5);
    h.simulator().model().setTuneTime(3);
    h.openRadioPort();
    st().gFwType = 2;
    h.panel.link().gSendCommand("?", true, 0.6);
    h.panel.link().gReadResponse();
    h.panel.display().gUpdateDisplay();
    st().lastKeyCmd = "U";
    st().gLastSyncTime = h.clock.now();
    h.radio.clearLog();
  }
  // What the service loop does between requests: show, sync, read.
  void serve(double seconds) {
    const double end = h.now() + seconds;
    while (h.now() < end) {
      const double untilSync = SyncPoller::kInterval + 0.001 - secondsSince(st().gLastSyncTime, h.clock.now());
      h.panel.engine.pump(std::clamp(untilSync, 0.0, 0.02));
      h.panel.display().gUpdateDisplay();
      h.panel.sync().pollTxState();
    }
  }
  // Amplifier on, warmed up and in operate, ready to tune.
  void toOperate() {
    amp.ampPwrCmd();
    serve(7);
    amp.ampOprCmd();
    serve(1);
    ASSERT_EQ(frm().lblAmpTuned.caption, "Start Tune");
    h.radio.clearLog();
  }
  TransceiverState& st() { return h.panel.st; }
  MainWindowModel& frm() { return h.panel.frm; }
  sim::TransceiverState& radio() { return h.simulator().model().state(); }

  EngineHarness h;
  Amplifier amp{h.panel};
};

TEST_F(AmplifierTest, PowerWarmupOperateAndTuneUntilTuned) {
  ASSERT_EQ(frm().lblAmpPwr.caption, "OFF");
  amp.AmpTuneCmd();  // nothing to tune yet
  EXPECT_FALSE(st().gAmpTuning);
  amp.ampPwrCmd();
  EXPECT_EQ(h.written(), "O2\n");
  EXPECT_EQ(frm().lblAmpPwr.caption, " >> ");
  amp.ampPwrCmd();  // the arrow waits for the status
  EXPECT_EQ(h.written(), "O2\n");
  serve(1);
  EXPECT_EQ(frm().lblAmpPwr.caption, "ON");
  EXPECT_EQ(frm().lblAmpOpStby.caption, "Warmup");
  amp.ampOprCmd();  // no operate while warming up
  EXPECT_EQ(h.written().find("O4"), std::string::npos);
  serve(6);
  EXPECT_EQ(frm().lblAmpOpStby.caption, "Standby");

  amp.ampOprCmd();
  EXPECT_EQ(frm().lblAmpOpStby.caption, " >> ");
  serve(1);
  EXPECT_EQ(frm().lblAmpOpStby.caption, "Operate");
  EXPECT_EQ(frm().lblAmpTuned.caption, "Start Tune");
  EXPECT_TRUE(frm().cmdTuneAmp.enabled);

  h.radio.clearLog();
  const double pressed = h.now();
  amp.AmpTuneCmd();
  EXPECT_EQ(h.written(), "K");
  EXPECT_TRUE(st().gAmpTuning);
  EXPECT_DOUBLE_EQ(st().gAmpTuneStart, h.clock.now() - 0.2);
  EXPECT_EQ(st().gKeyCmd, "K");
  serve(1);
  EXPECT_EQ(frm().lblAmpTuned.caption, "Tuning");
  EXPECT_TRUE(radio().transmitting);
  serve(5);
  EXPECT_EQ(frm().lblAmpTuned.caption, "Tuned");
  EXPECT_EQ(frm().lblAmpTuned.backColor, colours::Red);
  EXPECT_FALSE(st().gAmpTuning);
  EXPECT_EQ(st().gKeyCmd, "U");
  EXPECT_FALSE(radio().transmitting);
  // Keyed until the tuned report, then one unkey and nothing keyed after it.
  const std::string wire = h.written();
  EXPECT_EQ(wire.find_first_not_of('K'), wire.size() - 1);
  EXPECT_EQ(wire.back(), 'U');
  EXPECT_LT(h.writes().back().time - pressed, 5.0);
}

TEST_F(AmplifierTest, SecondPressAbortsTheCycle) {
  toOperate();
  amp.AmpTuneCmd();
  serve(1);
  ASSERT_EQ(frm().lblAmpTuned.caption, "Tuning");
  h.radio.clearLog();
  amp.AmpTuneCmd();
  EXPECT_EQ(h.written(), "U");
  EXPECT_FALSE(st().gAmpTuning);
  EXPECT_EQ(st().gKeyCmd, "U");
  serve(1);
  EXPECT_FALSE(radio().transmitting);
  EXPECT_EQ(frm().lblAmpTuned.caption, "Start Tune");
}

TEST_F(AmplifierTest, StandbyAndPowerOff) {
  toOperate();
  amp.ampOprCmd();
  EXPECT_EQ(h.written(), "O3\n");
  EXPECT_EQ(frm().lblAmpOpStby.caption, " << ");
  serve(1);
  EXPECT_EQ(frm().lblAmpOpStby.caption, "Standby");
  EXPECT_FALSE(frm().cmdTuneAmp.enabled);
  amp.ampPwrCmd();
  EXPECT_EQ(frm().lblAmpPwr.caption, " << ");
  serve(1);
  EXPECT_EQ(frm().lblAmpPwr.caption, "OFF");
  EXPECT_EQ(radio().amplifier, 1);
}

// The whole program: a cycle that never finishes, started at 23:59:50, is
// cancelled 20 s later, after midnight.
TEST(AmplifierTimeoutTest, CycleStartedBeforeMidnightTimesOutAfterIt) {
  TempWorkDir dir;
  TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
  EngineHarness h{23 * 3600 + 59 * 60 + 30};
  auto& sim = h.attachSimulator(2);
  sim.model().state().amplifier = 4;
  sim.model().state().tune = 2;
  sim.model().setTuneTime(60);
  Amplifier amp{h.panel};
  // The press is served at once, as the dispatch would on that pass.
  h.panel.engine.on(h.panel.frm.name(), "cmdTuneAmp", EventKind::Click,
                    [&](const InputEvent&) { amp.AmpTuneCmd(); });
  h.clickAt(20, "cmdTuneAmp");
  InputEvent close;
  close.window = h.panel.frm.name();
  close.kind = EventKind::Close;
  h.inputAt(45, close);
  h.panel.run();

  double keyed = -1, unkeyed = -1;
  for (const auto& c : h.simulator().commands()) {
    if (c.text == "K" && keyed < 0) keyed = c.time;
    if (c.text == "U" && keyed >= 0 && unkeyed < 0) unkeyed = c.time;
  }
  ASSERT_GE(keyed, 20.0);
  ASSERT_LT(keyed, 20.1);
  EXPECT_GT(unkeyed - keyed, 20.0);
  EXPECT_LT(unkeyed - keyed, 21.0);  // after the refresh query that follows the timeout
  EXPECT_EQ(h.panel.frm.txtInfo.text, "Timeout: Tune Cancelled");
  EXPECT_FALSE(h.panel.st.gAmpTuning);
}

}  // namespace
}  // namespace zr::test
