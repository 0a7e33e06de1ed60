// One client's conversation, without a socket.
#include <gtest/gtest.h>

#include "FakeRigBackend.h"
#include "netctl/RigSession.h"

namespace zr {
namespace {

using K = RigSetting::Kind;

struct RigSessionTest : ::testing::Test {
  test::FakeRigBackend backend;
  int wakes = 0;
  RigSession session{backend, 7, [this] { ++wakes; }};
  double now = 100;

  std::string say(const std::string& text) {
    session.receive(text);
    session.advance(now);
    std::string out = session.output();
    session.output().clear();
    return out;
  }
};

TEST_F(RigSessionTest, QueriesAreAnsweredAtOnceFromThePublishedState) {
  EXPECT_EQ(say("\\chk_vfo\nv\nf\ns\nm\n\\get_powerstat\nt\n"), "0\nVFOA\n14250000\n0\nVFOA\nUSB\n2400\n1\n0\n");
  RigStateSnapshot v = test::FakeRigBackend::tunedView();
  v.mode = "M4";
  v.keyCmd = "K";
  v.split = true;
  backend.setView(v);
  EXPECT_EQ(say("m\nt\ns\n+\\get_lock_mode\n"), "CW\n500\n1\n1\nVFOB\nget_lock_mode:\nLocked: 0\nRPRT 0\n");
  EXPECT_TRUE(backend.submitted().empty());
}

TEST_F(RigSessionTest, NothingKnownYetIsNotAvailableRatherThanMadeUp) {
  backend.setView(RigStateSnapshot{});
  EXPECT_EQ(say("f\nm\n"), "RPRT -11\nRPRT -11\n");
  RigStateSnapshot v;
  v.freqCmd = "F14250  ";  // not seven digits
  v.mode = "M7";
  backend.setView(v);
  EXPECT_EQ(say("f\nm\n"), "RPRT -11\nRPRT -11\n");
}

TEST_F(RigSessionTest, DumpStateEndsWithDone) {
  const std::string out = say("\\dump_state\n");
  EXPECT_EQ(out.substr(0, 6), "1\n2\n0\n");
  EXPECT_EQ(out.substr(out.size() - 5), "done\n");
  EXPECT_EQ(out.find("RPRT"), std::string::npos);
}

TEST_F(RigSessionTest, ASettingIsAnsweredAtOnceAndReadsSeeItUntilThePanelHasDoneIt) {
  EXPECT_EQ(say("F 7074000\nf\n"), "RPRT 0\n7074000\n");
  auto submitted = backend.submitted();
  ASSERT_EQ(submitted.size(), 1u);
  EXPECT_EQ(submitted[0].setting.kind, K::Frequency);
  EXPECT_EQ(submitted[0].setting.value, "0707400");
  EXPECT_EQ(submitted[0].client, 7);
  EXPECT_FALSE(session.deadline());

  // The same setting again while it is on its way: the radio gets one.
  EXPECT_EQ(say("F 7074000.000000\nF 7.074e6\n"), "RPRT 0\nRPRT 0\n");
  EXPECT_EQ(backend.submitted().size(), 1u);

  // The transceiver refused it: once the panel is done, its report wins.
  ASSERT_TRUE(submitted[0].ticket->take());
  submitted[0].ticket->finish(rprt::Rejected);
  EXPECT_EQ(say("f\n"), "14250000\n");
  // Done, so the same setting is sent again.
  EXPECT_EQ(say("F 7074000\n"), "RPRT 0\n");
  EXPECT_EQ(backend.submitted().size(), 2u);
  // A newer value replaces the commanded one.
  EXPECT_EQ(say("F 7100000\nf\n"), "RPRT 0\n7100000\n");
  EXPECT_EQ(backend.submitted().size(), 3u);
}

TEST_F(RigSessionTest, ACommandedValueThePanelNeverTakesGivesWayToItsState) {
  say("M LSB\n");
  EXPECT_EQ(say("m\n"), "LSB\n2400\n");
  now += SettingsInFlight::kTakeDeadline + 0.01;
  EXPECT_EQ(say("m\n"), "USB\n2400\n");
  // Withdrawn: the engine must not carry it out any more.
  EXPECT_FALSE(backend.submitted()[0].ticket->take());

  // Taken but never finished: the published state wins at the limit.
  say("F 7074000\n");
  ASSERT_TRUE(backend.submitted()[1].ticket->take());
  now += SettingsInFlight::kTakeDeadline + 0.01;
  EXPECT_EQ(say("f\n"), "7074000\n");
  now += SettingsInFlight::kCarryOutLimit;
  EXPECT_EQ(say("f\n"), "14250000\n");
}

TEST_F(RigSessionTest, SessionsOfOneServerMergeEachOthersSettings) {
  auto shared = std::make_shared<SettingsInFlight>();
  RigSession a(backend, 1, [] {}, shared);
  RigSession b(backend, 2, [] {}, shared);
  a.receive("M CW\n");
  a.advance(now);
  b.receive("M cw 500\nm\n");
  b.advance(now);
  EXPECT_EQ(b.output(), "RPRT 0\nCW\n500\n");
  EXPECT_EQ(backend.submitted().size(), 1u);
}

TEST_F(RigSessionTest, SplitAsStationProgramsSetIt) {
  // A digital-mode program's tune with split on the rig.
  EXPECT_EQ(say("S 1 VFOB\nV VFOB\nF 7074000.000000\nV VFOA\nX USB -1\ns\ni\nx\nf\n"),
            "RPRT 0\nRPRT 0\nRPRT 0\nRPRT 0\nRPRT 0\n1\nVFOB\n7074000\nUSB\n2400\n14250000\n");
  auto s = backend.submitted();
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].setting.kind, K::Split);
  EXPECT_TRUE(s[0].setting.on);
  EXPECT_EQ(s[1].setting.kind, K::VfoBFrequency);
  EXPECT_EQ(s[1].setting.value, "0707400");
  EXPECT_EQ(s[2].setting.kind, K::VfoBMode);
  EXPECT_EQ(s[2].setting.value, "M1");

  EXPECT_EQ(say("I 7076000\n\\set_split_freq_mode 7077000 cw 500\n+\\get_split_freq_mode\n"),
            "RPRT 0\nRPRT 0\nget_split_freq_mode:\nTX Frequency: 7077000\nTX Mode: CW\nTX Passband: 500\nRPRT 0\n");
  EXPECT_EQ(say("+i\n+x\n"),
            "get_split_freq:\nTX Frequency: 7077000\nRPRT 0\nget_split_mode:\nTX Mode: CW\nTX Passband: 500\nRPRT 0\n");
  EXPECT_EQ(say("\\get_vfo_info VFOB\n+\\get_vfo_info\n"),
            "7077000\nCW\n500\n1\n0\nget_vfo_info:\nFreq: 14250000\nMode: USB\nWidth: 2400\nSplit: 1\nSatMode: 0\nRPRT 0\n");
  // Nothing is sent for a setting half of which is refused.
  const auto before = backend.submitted().size();
  EXPECT_EQ(say("\\set_split_freq_mode 7077000 FM 0\n\\set_split_freq_mode 40000000 USB 0\nI x\n"),
            "RPRT -1\nRPRT -1\nRPRT -1\n");
  EXPECT_EQ(backend.submitted().size(), before);
}

TEST_F(RigSessionTest, NoSurprisingValues) {
  // A VFO B never set reads as VFO A, never 0 Hz.
  RigStateSnapshot v = test::FakeRigBackend::tunedView();
  v.vfoBFreqCmd = "F0000000";
  v.vfoBMode = "";
  backend.setView(v);
  EXPECT_EQ(say("V VFOB\nf\nm\ni\nV VFOA\n"), "RPRT 0\n14250000\nUSB\n2400\n14250000\nRPRT 0\n");

  // Mode names in any case; data modes are the sideband, read back as set
  // by this client only.
  EXPECT_EQ(say("M usb 2400\nM PKTLSB -1\nm\n"), "RPRT 0\nRPRT 0\nPKTLSB\n2400\n");
  auto s = backend.submitted();
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].setting.value, "M1");
  EXPECT_EQ(s[1].setting.value, "M2");
  RigSession other(backend, 8, [] {});
  other.receive("m\n");
  other.advance(now);
  EXPECT_EQ(other.output(), "USB\n2400\n");  // another client reads the sideband
  EXPECT_EQ(say("M LSB\nm\n"), "RPRT 0\nLSB\n2400\n");
}

TEST_F(RigSessionTest, KeyingReadsFromWhatWasWrittenToTheRadio) {
  RigStateSnapshot v = test::FakeRigBackend::tunedView();
  v.transmitting = true;  // the transceiver has not reported the unkey yet
  v.keyCmd = "U";
  v.keyed = false;
  backend.setView(v);
  EXPECT_EQ(say("t\n"), "0\n");
  v.keyed = true;
  backend.setView(v);
  EXPECT_EQ(say("t\n"), "1\n");
}

TEST_F(RigSessionTest, ALostRadioPortIsAnIoErrorForWhatOnlyTheRadioKnows) {
  RigStateSnapshot v = test::FakeRigBackend::tunedView();
  v.portLost = true;
  backend.setView(v);
  EXPECT_EQ(say("f\nm\ni\nx\n\\get_vfo_info VFOA\ns\n"), "RPRT -6\nRPRT -6\nRPRT -6\nRPRT -6\nRPRT -6\n0\nVFOA\n");
}

TEST_F(RigSessionTest, SettingsMapOntoThePanel) {
  backend.answerAtOnce(rprt::Ok);
  EXPECT_EQ(say("M LSB 2400\n\\set_mode AM\nT 1\nT 3\nT 0\nS 1 VFOB\nS 0 VFOA\n"),
            "RPRT 0\nRPRT 0\nRPRT 0\nRPRT 0\nRPRT 0\nRPRT 0\nRPRT 0\n");
  const auto s = backend.submitted();
  ASSERT_EQ(s.size(), 7u);
  EXPECT_EQ(s[0].setting.kind, K::Mode);
  EXPECT_EQ(s[0].setting.value, "M2");
  EXPECT_EQ(s[1].setting.value, "M3");
  EXPECT_EQ(s[2].setting.kind, K::Ptt);
  EXPECT_TRUE(s[2].setting.on);
  EXPECT_TRUE(s[3].setting.on);
  EXPECT_FALSE(s[4].setting.on);
  EXPECT_EQ(s[5].setting.kind, K::Split);
  EXPECT_TRUE(s[5].setting.on);
  EXPECT_FALSE(s[6].setting.on);
}

TEST_F(RigSessionTest, SettingsThePanelCannotHaveAreRefusedWithoutBotheringIt) {
  EXPECT_EQ(say("F 1500000\nF 30000000\nM PKTFM 2400\nM FM\nS 1 VFOA\n+M ?\nV ?\n"),
            "RPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nset_mode: ?\nAM CW USB LSB PKTLSB PKTUSB \nRPRT 0\nVFOA VFOB \nRPRT 0\n");
  EXPECT_TRUE(backend.submitted().empty());
}

TEST_F(RigSessionTest, APanelThatTakesNoSettingsRefusesThemAtOnceButNeverAnUnkey) {
  RigStateSnapshot v = test::FakeRigBackend::tunedView();
  v.takesSettings = false;
  v.takesKeyDown = false;
  backend.setView(v);
  EXPECT_EQ(say("F 7074000\nM LSB 0\nT 1\nS 1 VFOB\nf\n"), "RPRT -9\nRPRT -9\nRPRT -9\nRPRT -9\n14250000\n");
  EXPECT_TRUE(backend.submitted().empty());
  EXPECT_EQ(say("T 0\n"), "");
  ASSERT_EQ(backend.submitted().size(), 1u);
  EXPECT_FALSE(backend.submitted()[0].setting.on);
}

TEST_F(RigSessionTest, AKeyTheEngineDoesNotTakeInTimeIsWithdrawnAndLaterCommandsWait) {
  EXPECT_EQ(say("T 1\nf\n"), "");
  now += RigSession::kSettingDeadline - 0.01;
  EXPECT_EQ(say(""), "");
  now += 0.02;
  EXPECT_EQ(say(""), "RPRT -5\n14250000\n");
  // The engine gets to it too late: it must not be carried out any more.
  EXPECT_FALSE(backend.submitted()[0].ticket->take());
}

TEST_F(RigSessionTest, AKeyUnderWayIsWaitedForUpToTheLimit) {
  say("T 1\n");
  ASSERT_TRUE(backend.submitted()[0].ticket->take());
  now += RigSession::kSettingDeadline + 0.01;
  EXPECT_EQ(say(""), "");
  now = 100 + RigSession::kCarryOutLimit + 0.01;
  EXPECT_EQ(say(""), "RPRT -5\n");
}

TEST_F(RigSessionTest, AnUnkeyIsNeverWithdrawn) {
  say("T 0\n");
  now += RigSession::kSettingDeadline + 0.01;
  EXPECT_EQ(say(""), "");
  now = 100 + RigSession::kCarryOutLimit + 0.01;
  EXPECT_EQ(say(""), "RPRT -5\n");
  EXPECT_TRUE(backend.submitted()[0].ticket->take());
}

TEST_F(RigSessionTest, EachClientChoosesItsOwnVfo) {
  backend.answerAtOnce(rprt::Ok);
  EXPECT_EQ(say("V VFOB\nv\nf\nm\nF 7000000\nM USB 2400\nV Main\nv\nf\n"),
            "RPRT 0\nVFOB\n7074000\nLSB\n2400\nRPRT 0\nRPRT 0\nRPRT 0\nVFOA\n14250000\n");
  const auto s = backend.submitted();
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].setting.kind, K::VfoBFrequency);
  EXPECT_EQ(s[0].setting.value, "0700000");
  EXPECT_EQ(s[1].setting.kind, K::VfoBMode);
  EXPECT_EQ(s[1].setting.value, "M1");
  // TX names VFO B only while split is on.
  EXPECT_EQ(say("V TX\nv\n"), "RPRT 0\nVFOA\n");
}

TEST_F(RigSessionTest, AnOverlongLineOrFloodClosesTheSessionUnanswered) {
  EXPECT_EQ(say(std::string(RigSession::kMaxLine, 'f')), "");
  EXPECT_FALSE(session.closing());
  EXPECT_EQ(say("ff"), "");
  EXPECT_TRUE(session.closing());
  EXPECT_FALSE(session.wantsInput());

  RigSession flooded(backend, 8, [] {});
  flooded.receive(std::string(RigSession::kMaxLine + 1, 'x') + "\nf\n");
  flooded.advance(now);
  EXPECT_TRUE(flooded.closing());
  EXPECT_EQ(flooded.output(), "");
}

TEST_F(RigSessionTest, InputWaitingBehindASettingIsBounded) {
  say("T 1\n");
  session.receive(std::string(RigSession::kMaxBuffered, '\n'));
  EXPECT_FALSE(session.wantsInput());
}

TEST_F(RigSessionTest, TheLastLineNeedsNoLineEndAndQuitEndsTheSession) {
  session.receive("f\r\nm");
  session.endOfInput();
  session.advance(now);
  EXPECT_EQ(session.output(), "14250000\nUSB\n2400\n");
  EXPECT_TRUE(session.closing());

  RigSession quitting(backend, 9, [] {});
  quitting.receive("q\nf\n");
  quitting.advance(now);
  EXPECT_EQ(quitting.output(), "RPRT 0\n");
  EXPECT_TRUE(quitting.closing());
}

TEST_F(RigSessionTest, UnknownAndMalformedCommandsAreAnsweredAndTheSessionGoesOn) {
  EXPECT_EQ(say("\\dump_caps\nF x\n\n+T 5\nf\n"), "RPRT -4\nRPRT -1\nset_ptt: 5\nRPRT -1\n14250000\n");
}

}  // namespace
}  // namespace zr
