// The radio link's writes, waits and reads in virtual time, against scripted
// replies so every edge can be placed exactly.
#include <gtest/gtest.h>

#include "core/Errors.h"
#include "core/CommandComposer.h"
#include "core/RadioLink.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class RadioLinkTest : public ::testing::Test {
 protected:
  void SetUp() override { h.openRadioPort(); }
  RadioLink& link() { return h.panel.link(); }
  TransceiverState& st() { return h.panel.st; }
  MainWindowModel& frm() { return h.panel.frm; }
  EngineHarness h;
};

TEST_F(RadioLinkTest, SendCommandWritesTextAndLineFeedThenWaits) {
  link().gSendCommand("?", true, 0.6);
  EXPECT_EQ(h.written(), "?\n");
  EXPECT_DOUBLE_EQ(h.now(), 0.6);
  EXPECT_EQ(frm().shaTrace.fillColor, colours::GrayText);

  link().gSendCommand("U", false, 0);
  EXPECT_EQ(h.written(), "?\nU");
  EXPECT_DOUBLE_EQ(h.now(), 0.6);
}

TEST_F(RadioLinkTest, StuckSendBufferDropsCommandAfterTenWaitsAndLeavesIndicatorRed) {
  h.radio.setOutBufferCount(5);
  link().gSendCommand("F1400000", true, 0.45);
  EXPECT_EQ(h.written(), "");
  EXPECT_NEAR(h.now(), 0.10, 1e-9);
  EXPECT_EQ(frm().shaTrace.fillColor, colours::Red);

  // Drains during the tenth wait: still given up.
  h.clock.scheduleAt(h.now() + 0.095, [&] { h.radio.setOutBufferCount(0); });
  link().gSendCommand("M", true, 0);
  EXPECT_EQ(h.written(), "");
}

TEST_F(RadioLinkTest, SendBufferThatDrainsLetsTheCommandThrough) {
  h.radio.setOutBufferCount(3);
  h.clock.scheduleAt(0.025, [&] { h.radio.setOutBufferCount(0); });
  link().gSendCommand("Z", true, 0);
  EXPECT_EQ(h.written(), "Z\n");
  EXPECT_NEAR(h.writes().at(0).time, 0.03, 1e-9);
}

TEST_F(RadioLinkTest, ClosedPortIsIgnoredBySendCommand) {
  h.radio.close();
  link().gSendCommand("?", true, 0.6);
  EXPECT_DOUBLE_EQ(h.now(), 0.6);
  EXPECT_EQ(frm().shaTrace.fillColor, colours::GrayText);
}

TEST_F(RadioLinkTest, ReplyStartingJustInsideTheTimeoutIsRead) {
  h.replyAt(0.79, "M2\n#\n.\n");
  link().gReadResponse();
  EXPECT_TRUE(st().gResponseReceived);
  EXPECT_EQ(st().gResponse, "M2<#<.<");
  EXPECT_EQ(frm().lblComStat.caption, "Com OK");
  EXPECT_TRUE(st().gResponseComplete);
  EXPECT_NEAR(h.now(), 0.79 + 0.06, 1e-9);
}

TEST_F(RadioLinkTest, ReplyStartingAfterTheTimeoutIsNotReadAndStaysBuffered) {
  h.replyAt(0.81, "M2\n");
  link().gReadResponse();
  EXPECT_FALSE(st().gResponseReceived);
  EXPECT_EQ(frm().lblComStat.caption, "No Com");
  EXPECT_NEAR(h.now(), 0.8, 1e-9);
  EXPECT_EQ(st().gMode, "  ");

  h.clock.advanceTo(0.9);
  link().gReadResponse();
  EXPECT_EQ(st().gMode, "M2");
}

TEST_F(RadioLinkTest, TrickleWithShortGapsIsOneReply) {
  h.replyAt(0.10, "F1400000\n");
  h.replyAt(0.15, "M1\n");
  h.replyAt(0.20, "#\n");
  h.replyAt(0.25, ".\n");
  link().gReadResponse();
  EXPECT_EQ(st().gResponse, "F1400000<M1<#<.<");
  EXPECT_NEAR(h.now(), 0.31, 1e-9);
}

TEST_F(RadioLinkTest, GapLongerThanQuietTimeSplitsTheReply) {
  h.replyAt(0.10, "F1400000\n");
  h.replyAt(0.17, "M3\n");
  link().gReadResponse();
  EXPECT_EQ(st().gResponse, "F1400000<");
  EXPECT_EQ(st().gMode, "  ");
  EXPECT_EQ(h.radio.inBufferCount(), 0);
  h.clock.advanceTo(0.2);
  EXPECT_EQ(h.radio.inBufferCount(), 3);
  link().gReadResponse();
  EXPECT_EQ(st().gMode, "M3");
}

TEST_F(RadioLinkTest, IncompleteReportIsNotComplete) {
  h.replyAt(0.1, "R1\n#\n");
  link().gReadResponse();
  EXPECT_FALSE(st().gResponseComplete);
  EXPECT_TRUE(st().gRemoteChanged);
}

TEST_F(RadioLinkTest, DrainDecodesWithoutTouchingIndicatorOrResponse) {
  h.radio.deliver("A4\n");
  frm().lblComStat.caption = "No Com";
  link().gDrainInput();
  EXPECT_EQ(st().gAgc, "A4");
  EXPECT_EQ(frm().lblComStat.caption, "No Com");
  EXPECT_EQ(st().gResponse, "");
  EXPECT_EQ(h.radio.inBufferCount(), 0);
  EXPECT_DOUBLE_EQ(h.now(), 0);
}

TEST_F(RadioLinkTest, HandshakeNamesAreMatchedExactly) {
  struct Case {
    const char* name;
    Handshaking expected;
  } cases[] = {{"comRTS", Handshaking::RtsCts},   {"comRTSXonXoff", Handshaking::RtsCts},
               {"comXonXoff", Handshaking::None}, {"comNone", Handshaking::None},
               {"comrts", Handshaking::None},     {"", Handshaking::None}};
  for (const auto& c : cases) {
    h.panel.settings.gRadioHandshake = c.name;
    ASSERT_TRUE(link().SetUpRadioPort());
    EXPECT_EQ(h.radio.handshaking(), c.expected) << c.name;
  }
}

TEST_F(RadioLinkTest, ReopeningDiscardsWaitingBytesAndPausesHalfASecond) {
  h.radio.deliver("garbage");
  const double before = h.now();
  ASSERT_TRUE(link().SetUpRadioPort());
  EXPECT_NEAR(h.now() - before, 0.5, 1e-9);
  EXPECT_EQ(h.radio.inBufferCount(), 0);
  EXPECT_EQ(h.radio.opens(), 2);
  EXPECT_TRUE(h.radio.rtsEnable());
  EXPECT_FALSE(h.radio.dtrEnable());
}

TEST_F(RadioLinkTest, EveryOpenStartsWithTheUnkeyAndAnOwedUnkeySurvivesAFailedPort) {
  ASSERT_TRUE(link().SetUpRadioPort());
  EXPECT_EQ(h.written(), "U") << "whatever a killed run left keyed";
  link().gSendCommand("K", false, 0.2);
  EXPECT_TRUE(link().keyed());
  // The port fails before the key is taken back; it is not yet closed.
  h.radio.hangUp("COM1: Input/output error");
  h.radio.clearLog();
  ASSERT_TRUE(link().SetUpRadioPort()) << "a failed port can always be closed and opened again";
  EXPECT_EQ(h.written(), "U");
  EXPECT_FALSE(link().keyed());
}

TEST_F(RadioLinkTest, LettingGoOfTheKeyedPortUnkeysFirst) {
  link().writeDirect("K");
  link().shutdownPort();
  EXPECT_EQ(h.written(), "KUG00\n");
  EXPECT_FALSE(h.radio.isOpen());

  ASSERT_TRUE(link().SetUpRadioPort());
  link().gSendCommand("K", false, 0);
  h.radio.clearLog();
  link().closePort();
  EXPECT_EQ(h.written(), "U");
  link().closePort();  // closed already: nothing more
  EXPECT_EQ(h.written(), "U");
}

TEST_F(RadioLinkTest, PortErrorsWhileOpeningArePassedOn) {
  h.radio.close();
  h.radio.setFailOpen(err::PortAlreadyOpen);
  EXPECT_THROW(link().SetUpRadioPort(), RuntimeError);
  h.panel.settings.gRadioPort = "x";
  h.radio.setFailOpen(0);
  try {
    link().SetUpRadioPort();
    FAIL() << "a port number that is not a number must raise";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, err::TypeMismatch);
  }
}

TEST_F(RadioLinkTest, LineEventsSetTheirIndicators) {
  h.radio.raiseLineEvent(comm::Break);
  h.radio.raiseLineEvent(comm::RxParity);
  h.panel.engine.pump();
  EXPECT_TRUE(st().gRadioBreak);
  EXPECT_EQ(frm().lblComStat.caption, "Com Error");

  // DSR drives the external PTT input only when it is enabled.
  h.radio.setDsr(false);
  h.panel.engine.pump();
  EXPECT_FALSE(h.panel.form.gComm1EvDSR);
  EXPECT_TRUE(h.panel.form.extPttIdle);
  h.panel.settings.gExtPttEnabled = true;
  h.radio.setDsr(true);
  h.radio.setDsr(false);
  h.panel.engine.pump();
  EXPECT_FALSE(h.panel.form.extPttIdle);
}

TEST_F(RadioLinkTest, SetFreqSendsOnlySevenDigits) {
  h.panel.cmds().gSetFreq("12345");
  h.panel.cmds().gSetFreq("12345678");
  h.panel.cmds().gSetFreq("123456a");
  EXPECT_EQ(h.written(), "");
  h.replyAt(0.5, "F1234567\n");
  h.panel.cmds().gSetFreq("1234567");
  EXPECT_EQ(h.written(), "F1234567\n");
  EXPECT_EQ(st().gFreqCmd, "F1234567");
}

}  // namespace
}  // namespace zr::test
