// The sync exchange and the meter, in virtual time.
#include <gtest/gtest.h>

#include "core/MeterDisplay.h"
#include "core/StatusDecoder.h"
#include "core/SyncPoller.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class SyncTest : public ::testing::Test {
 protected:
  void SetUp() override { h.openRadioPort(); }
  SyncPoller& sync() { return h.panel.sync(); }
  TransceiverState& st() { return h.panel.st; }
  MainWindowModel& frm() { return h.panel.frm; }
  void at(double t) { h.clock.advanceTo(t); }
  EngineHarness h;
};

TEST_F(SyncTest, FirstCallIsTakenAsNoChangeAndWaitsForTheInterval) {
  sync().gSendSync("K");
  EXPECT_EQ(h.written(), "");
  at(1.9);
  sync().gSendSync("K");
  EXPECT_EQ(h.written(), "");
  at(2.1);
  sync().gSendSync("K");
  EXPECT_EQ(h.written(), "K");
  EXPECT_EQ(st().gMissedSyncs, 1);
  EXPECT_EQ(frm().lblU.caption, "K");
  EXPECT_EQ(frm().lblU.backColor, colours::White);
}

TEST_F(SyncTest, IntervalBlinkAndChangeOfState) {
  st().lastKeyCmd = "U";
  st().gLastSyncTime = h.clock.now();
  at(2.1);
  sync().gSendSync("U");  // due
  EXPECT_EQ(h.written(), "U");
  const double sent = h.now();
  at(sent + 0.5);
  sync().gSendSync("U");  // too soon: nothing, still shown
  EXPECT_EQ(h.written(), "U");
  EXPECT_EQ(frm().lblU.caption, "U");
  at(sent + 1.5);
  sync().gSendSync("U");  // second half of the interval: blanked
  EXPECT_EQ(h.written(), "U");
  EXPECT_EQ(frm().lblU.caption, "");
  at(sent + 1.6);
  sync().gSendSync("K");  // a change goes out at once
  EXPECT_EQ(h.written(), "UK");
  at(h.now() + 0.1);
  sync().gSendSync("U");
  EXPECT_EQ(h.written(), "UKU");
  EXPECT_EQ(st().gMissedSyncs, 3);
}

TEST(SyncMidnightTest, IntervalAcrossMidnightStaysTwoSeconds) {
  EngineHarness h{23 * 3600.0 + 59 * 60.0 + 50.0};  // ten seconds before midnight
  h.openRadioPort();
  auto at = [&](double t) { h.clock.advanceTo(t); };
  auto& st = h.panel.st;
  auto& sync = h.panel.sync();
  st.lastKeyCmd = "U";
  at(9.0);  // 23:59:59
  st.gLastSyncTime = h.clock.now();
  std::vector<double> sendTimes;
  for (double t = 9.0; t < 16.0; t += 0.05) {
    at(t);
    const auto before = h.written().size();
    sync.gSendSync("U");
    if (h.written().size() != before) sendTimes.push_back(h.now());
  }
  ASSERT_GE(sendTimes.size(), 2u);
  for (std::size_t i = 1; i < sendTimes.size(); ++i)
    EXPECT_NEAR(sendTimes[i] - sendTimes[i - 1], 2.25, 0.06);  // 2.0 s + 0.2 s pause, polled every 0.05 s
}

TEST_F(SyncTest, PollFollowsTheEchoAndTheTransmitState) {
  h.attachSimulator(2);
  h.openRadioPort();
  st().lastKeyCmd = "U";
  st().gLastSyncTime = h.clock.now();
  st().gMeterSource = "D5";
  frm().lblXMTRCV.caption = "Receive";
  st().gKeyCmd = "K";
  h.panel.sync().pollTxState();
  EXPECT_EQ(h.written(), "K");
  EXPECT_EQ(frm().lblXMTRCV.caption, "Transmit");
  EXPECT_EQ(frm().lblXMTRCV.backColor, colours::Red);
  EXPECT_TRUE(h.panel.form.txActive);
  EXPECT_EQ(st().gMissedSyncs, 0);
  EXPECT_EQ(frm().lblMeterScale.caption, MeterDisplay::kPowerScale);

  st().gKeyCmd = "U";
  h.panel.sync().pollTxState();
  EXPECT_EQ(frm().lblXMTRCV.caption, "Receive");
  EXPECT_EQ(frm().lblXMTRCV.backColor, colours::Green);
  EXPECT_EQ(frm().lblU.backColor, colours::Green);
  EXPECT_FALSE(h.panel.form.txActive);
  EXPECT_EQ(frm().lblMeterScale.caption, MeterDisplay::kSMeterScale);
}

TEST_F(SyncTest, UnansweredSyncsAreCounted) {
  h.attachSimulator(2);
  h.simulator().faults().silent = true;
  h.openRadioPort();
  st().lastKeyCmd = "U";
  st().gLastSyncTime = h.clock.now();
  for (int i = 0; i < 6; ++i) {
    at(h.now() + 2.05);
    h.panel.sync().pollTxState();
  }
  EXPECT_EQ(st().gMissedSyncs, 6);
  h.simulator().faults().silent = false;
  at(h.now() + 2.05);
  h.panel.sync().pollTxState();
  h.clock.advanceTo(h.now() + 0.1);
  h.panel.sync().pollTxState();
  EXPECT_EQ(st().gMissedSyncs, 0);
}

class MeterTest : public SyncTest {
 protected:
  void parse(std::string text) { h.panel.decoder().gParseResponse(text); }
};

TEST_F(MeterTest, ReadingsInsideTheScaleMoveTheBar) {
  parse("J15\n");
  EXPECT_EQ(frm().pbMeter.value, 15);
  parse("J21\n");
  EXPECT_EQ(frm().pbMeter.value, 21);
  parse("J22\n");
  EXPECT_EQ(frm().pbMeter.value, 21);
  parse("J7x\n");
  EXPECT_EQ(frm().pbMeter.value, 7);
  parse("Jx7\n");
  EXPECT_EQ(frm().pbMeter.value, 0);
  parse("J-5\n");
  EXPECT_EQ(frm().pbMeter.value, 0);
  EXPECT_TRUE(st().gMeterDataSeen);
}

TEST_F(MeterTest, SourceSelectsOptionLabelAndScale) {
  MeterDisplay& m = h.panel.meter();
  st().gMeterSource = "D2";
  m.gShowMeterSource();
  EXPECT_EQ(frm().lblMeterScale.caption, MeterDisplay::kAudioScale);
  EXPECT_TRUE(frm().optMeter[1].selected());
  st().gMeterSource = "D6";
  m.gShowMeterSource();
  EXPECT_EQ(frm().lblMeterScale.caption, MeterDisplay::kSMeterScale);
  EXPECT_FALSE(frm().optMeter[1].selected());
  st().gTransmitting = true;
  m.gShowMeterSource();
  EXPECT_EQ(frm().lblMeterScale.caption, MeterDisplay::kVswrScale);
  st().gMeterSource = "D9";
  m.gShowMeterSource();
  EXPECT_EQ(frm().lblMeterScale.caption, MeterDisplay::kVswrScale);
  for (auto& o : frm().optMeter) EXPECT_FALSE(o.selected());
  for (const char* s : {MeterDisplay::kAudioScale, MeterDisplay::kPowerScale, MeterDisplay::kVswrScale,
                        MeterDisplay::kSMeterScale})
    EXPECT_EQ(std::string(s).size(), 38u);
}

}  // namespace
}  // namespace zr::test
