// Station programs on the network, as the whole program meets them in
// virtual time: their settings enter through the engine's inbox and reach
// the simulated transceiver through the panel's own routines, they key only
// where the PTT button would, and every way their transmission ends leaves
// the transmitter unkeyed.
#include <gtest/gtest.h>

#include "core/Errors.h"
#include "core/MainLoop.h"
#include "core/StatusDecoder.h"
#include "core/RadioLink.h"
#include "netctl/PanelRigBackend.h"
#include "netctl/RigCommand.h"
#include "netctl/RigSession.h"
#include "panel/ClientRequests.h"
#include "panel/Transmit.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

using K = RigSetting::Kind;

// The remote setup is done well before this.
constexpr double kSteady = 6.0;

struct Asked {
  std::shared_ptr<RigTicket> ticket;
  double answeredAt = -1;
  RigStateSnapshot seenWhenAnswered;  // what the client's next query is answered from
  int code() const { return ticket && ticket->result() ? *ticket->result() : 99; }
};

class RigClientTest : public ::testing::Test {
 protected:
  explicit RigClientTest(int firmware = 2) {
    TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
    h.attachSimulator(firmware);
  }
  // Station program `client` asks for `s` at virtual time `at`.
  std::shared_ptr<Asked> askAt(double at, RigSetting s, int client = 1) {
    auto asked = std::make_shared<Asked>();
    h.clock.scheduleAt(at, [this, asked, s, client] {
      // The ticket keeps its callback: a weak reference avoids a cycle.
      asked->ticket = backend.submit(s, client, [this, weak = std::weak_ptr<Asked>(asked)] {
        if (auto a = weak.lock()) {
          a->answeredAt = h.now();
          a->seenWhenAnswered = backend.view();
        }
      });
    });
    return asked;
  }
  std::shared_ptr<Asked> keyAt(double at, bool on, int client = 1) {
    RigSetting s;
    s.kind = K::Ptt;
    s.on = on;
    return askAt(at, s, client);
  }
  void goneAt(double at, int client = 1) {
    h.clock.scheduleAt(at, [this, client] { backend.clientGone(client); });
  }
  void clickAt(double at, const std::string& control) { h.clickAt(at, control); }
  void at(double t, std::function<void()> f) { h.clock.scheduleAt(t, std::move(f)); }
  // The key commands ("K"/"U") the transceiver received from `from` on.
  std::string keysFrom(double from) { return h.keysFrom(from).keys; }
  double firstTimeOf(const std::string& command, double from) {
    for (const auto& c : h.simulator().commands())
      if (c.time >= from && c.text == command) return c.time;
    return -1;
  }
  bool radioTransmitting() { return h.simulator().model().state().transmitting; }

  TempWorkDir dir;
  EngineHarness h;
  PanelRigBackend backend{h.panel};
};

RigSetting setting(K kind, std::string value = {}, bool on = false) { return RigSetting{kind, std::move(value), on}; }

TEST_F(RigClientTest, SettingsReachTheTransceiverThroughThePanelsRoutines) {
  RigStateSnapshot seen;
  auto freq = askAt(kSteady, setting(K::Frequency, "0707400"));
  auto mode = askAt(kSteady + 2, setting(K::Mode, "M2"));
  at(kSteady + 4, [&] { seen = backend.view(); });
  h.runUntilClosed(kSteady + 5);

  // Answered once the transceiver has it and the state shows it.
  EXPECT_EQ(freq->code(), rprt::Ok);
  EXPECT_GE(firstTimeOf("F0707400", kSteady), kSteady);
  EXPECT_GT(freq->answeredAt, firstTimeOf("F0707400", kSteady));
  EXPECT_LT(freq->answeredAt - kSteady, RigSession::kSettingDeadline);
  EXPECT_EQ(freq->seenWhenAnswered.freqCmd, "F0707400");
  EXPECT_EQ(mode->seenWhenAnswered.mode, "M2");
  EXPECT_EQ(mode->code(), rprt::Ok);
  EXPECT_GE(firstTimeOf("M2", kSteady + 2), kSteady + 2);
  EXPECT_EQ(seen.freqCmd, "F0707400");
  EXPECT_EQ(seen.mode, "M2");
  EXPECT_TRUE(seen.takesSettings);
  // The panel shows what the transceiver confirmed.
  EXPECT_EQ(h.panel.frm.cmbMode.text, "LSB");
}

TEST_F(RigClientTest, AFastClientsFrequenciesDoNotQueueUp) {
  std::vector<std::shared_ptr<Asked>> asked;
  for (int i = 0; i < 20; ++i)
    asked.push_back(askAt(kSteady + i * 0.05, setting(K::Frequency, "07" + std::to_string(10000 + i))));
  h.runUntilClosed(kSteady + 6);
  int sent = 0;
  for (const auto& c : h.simulator().commands()) sent += c.time >= kSteady && c.text[0] == 'F';
  for (const auto& a : asked) EXPECT_EQ(a->code(), rprt::Ok);
  EXPECT_LT(sent, 10);
  EXPECT_EQ(h.panel.st.gFreqCmd, "F0710019");
}

TEST_F(RigClientTest, NoSettingsWhileAModalWindowIsOpen) {
  RigStateSnapshot duringDialog;
  clickAt(kSteady, "mnuCATSetup");
  at(kSteady + 1, [&] { duringDialog = backend.view(); });
  auto refused = askAt(kSteady + 1, setting(K::Frequency, "0707400"));
  auto keyRefused = keyAt(kSteady + 1.5, true);
  h.clock.scheduleAt(kSteady + 2, [&] {
    InputEvent cancel;
    cancel.window = "frmCATSetup";
    cancel.control = "cmdCancel";
    h.panel.engine.post(cancel);
  });
  auto taken = askAt(kSteady + 3, setting(K::Frequency, "0707400"));
  h.runUntilClosed(kSteady + 5);

  EXPECT_FALSE(duringDialog.takesSettings);
  EXPECT_EQ(refused->code(), rprt::Rejected);
  EXPECT_EQ(keyRefused->code(), rprt::Rejected);
  EXPECT_EQ(taken->code(), rprt::Ok);
  EXPECT_EQ(keysFrom(kSteady).find('K'), std::string::npos);
  EXPECT_GE(firstTimeOf("F0707400", kSteady), kSteady + 3);
}

TEST_F(RigClientTest, NoSettingsOrKeyingUnderLocalControl) {
  at(kSteady, [&] { h.simulator().setRemoteControl(false); });
  RigStateSnapshot local;
  at(kSteady + 6, [&] { local = backend.view(); });
  auto refused = askAt(kSteady + 6, setting(K::Mode, "M4"));
  auto keyRefused = keyAt(kSteady + 6.5, true);
  h.runUntilClosed(kSteady + 8);
  ASSERT_EQ(h.panel.mainLoop().controlMode, "LOCAL");
  EXPECT_FALSE(local.takesSettings);
  EXPECT_EQ(refused->code(), rprt::Rejected);
  EXPECT_EQ(keyRefused->code(), rprt::Rejected);
  EXPECT_EQ(keysFrom(kSteady).find('K'), std::string::npos);
}

TEST_F(RigClientTest, VfoBAndSplitAreThePanelsOwn) {
  auto b = askAt(kSteady, setting(K::VfoBFrequency, "1420000"));
  auto bMode = askAt(kSteady + 0.1, setting(K::VfoBMode, "M1"));
  auto on = askAt(kSteady + 0.2, setting(K::Split, {}, true));
  RigStateSnapshot v;
  at(kSteady + 0.5, [&] { v = backend.view(); });
  auto badB = askAt(kSteady + 1, setting(K::VfoBFrequency, "0100000"));
  auto lsbB = askAt(kSteady + 1.1, setting(K::VfoBMode, "M2"));
  // Split on with the modes apart: VFO B takes the receive mode first.
  auto splitAgain = askAt(kSteady + 1.2, setting(K::Split, {}, true));
  h.runUntilClosed(kSteady + 2);

  for (const auto& a : {b, bMode, on}) EXPECT_EQ(a->code(), rprt::Ok);
  EXPECT_EQ(v.vfoBFreqCmd, "F1420000");
  EXPECT_EQ(v.vfoBMode, "USB");
  EXPECT_TRUE(v.split);
  EXPECT_EQ(badB->code(), rprt::Rejected);
  EXPECT_EQ(lsbB->code(), rprt::Ok);
  EXPECT_EQ(splitAgain->code(), rprt::Ok);
  EXPECT_EQ(h.panel.frm.cmbVFOBMode.text, h.panel.frm.cmbMode.text);
  EXPECT_EQ(h.panel.frm.optTXVFO[1].value, 1);
  EXPECT_EQ(h.panel.frm.lblSplit.caption, "Split On");
  EXPECT_TRUE(h.host.messages.empty());
  // Nothing of it went to the transceiver.
  EXPECT_LT(firstTimeOf("F1420000", kSteady), 0);
}

TEST_F(RigClientTest, AClientKeysLikeThePttButtonAndSplitRetunes) {
  auto vfoB = askAt(kSteady, setting(K::VfoBFrequency, "1420000"));
  auto on = askAt(kSteady + 0.1, setting(K::Split, {}, true));
  auto key = keyAt(kSteady + 1, true);
  bool transmittingOnB = false;
  RigStateSnapshot keyed;
  at(kSteady + 2, [&] {
    transmittingOnB = radioTransmitting() && h.simulator().model().state().frequency == 1420000;
    keyed = backend.view();
  });
  auto unkey = keyAt(kSteady + 3, false);
  h.runUntilClosed(kSteady + 5);

  EXPECT_EQ(key->code(), rprt::Ok);
  EXPECT_LT(key->answeredAt - (kSteady + 1), 0.3);
  EXPECT_TRUE(transmittingOnB);
  EXPECT_TRUE(keyed.transmitting);
  EXPECT_FALSE(keyed.takesSettings);
  EXPECT_EQ(unkey->code(), rprt::Ok);
  // Answered with the unkey written, before the transceiver says so.
  EXPECT_FALSE(unkey->seenWhenAnswered.keyed);
  EXPECT_NE(unkey->seenWhenAnswered.keyCmd, "K");
  EXPECT_TRUE(keyed.keyed);
  // From the key-down's answer on, a query reads the transmitter keyed.
  EXPECT_EQ(key->seenWhenAnswered.keyCmd, "K");
  const double u = firstTimeOf("U", kSteady + 3);
  EXPECT_GE(u, kSteady + 3);
  EXPECT_LT(u, kSteady + 3.1);
  // Answered with the unkey on the wire, not after the pause behind it:
  // programs re-send what is not answered within 200 ms.
  EXPECT_LT(unkey->answeredAt - u, 0.05);
  EXPECT_FALSE(radioTransmitting());
  EXPECT_EQ(h.simulator().model().state().frequency, 1425000);
}

TEST_F(RigClientTest, AKeyBehindAFrequencyKeysOnTheNewFrequency) {
  auto freq = askAt(kSteady, setting(K::Frequency, "0707400"));
  auto key = keyAt(kSteady + 0.001, true);
  long keyedOn = 0;
  at(kSteady + 2, [&] { keyedOn = radioTransmitting() ? h.simulator().model().state().frequency : -1; });
  auto unkey = keyAt(kSteady + 2.5, false);
  h.runUntilClosed(kSteady + 4);
  EXPECT_EQ(freq->code(), rprt::Ok);
  EXPECT_EQ(key->code(), rprt::Ok);
  EXPECT_GT(firstTimeOf("K", kSteady), firstTimeOf("F0707400", kSteady));
  EXPECT_EQ(keyedOn, 707400);
  EXPECT_EQ(unkey->code(), rprt::Ok);
  EXPECT_FALSE(radioTransmitting());
}

TEST_F(RigClientTest, AKeyWaitingBehindAFrequencyGoesWithItsClient) {
  askAt(kSteady, setting(K::Frequency, "0707400"));
  auto key = keyAt(kSteady + 0.001, true);
  goneAt(kSteady + 0.002);
  h.runUntilClosed(kSteady + 3);
  EXPECT_EQ(key->code(), rprt::Rejected);
  EXPECT_LT(firstTimeOf("K", kSteady), 0);
}

TEST_F(RigClientTest, AClientsSplitEndsWithItUnlessChosenAgain) {
  askAt(kSteady, setting(K::Split, {}, true), 1);
  goneAt(kSteady + 1, 1);
  bool onWhileThere = false;
  at(kSteady + 0.5, [&] { onWhileThere = backend.view().split; });
  // Another program's split, chosen again by the operator, outlives it.
  askAt(kSteady + 2, setting(K::Split, {}, true), 2);
  h.clickAt(kSteady + 2.5, "optTXVFO", 1);
  goneAt(kSteady + 3, 2);
  bool offAfterFirst = true;
  at(kSteady + 1.5, [&] { offAfterFirst = !backend.view().split; });
  h.runUntilClosed(kSteady + 4);
  EXPECT_TRUE(onWhileThere);
  EXPECT_TRUE(offAfterFirst);
  EXPECT_EQ(h.panel.frm.lblSplit.caption, "Split On");
  EXPECT_TRUE(h.host.messages.empty());
}

TEST_F(RigClientTest, ALostPortIsPublishedAndTheMeterRests) {
  at(kSteady, [&] {
    std::string reading = "J15\n";
    h.panel.decoder().gParseResponse(reading);
  });
  int meterBefore = -1;
  at(kSteady + 0.01, [&] { meterBefore = h.panel.frm.pbMeter.value; });
  at(kSteady + 0.5, [&] {
    h.radio.hangUp("COM1: Input/output error");
    h.radio.setFailOpen(err::PortUnavailable);
  });
  RigStateSnapshot lost;
  int meterLost = -1;
  at(kSteady + 0.6, [&] {
    lost = backend.view();
    meterLost = h.panel.frm.pbMeter.value;
  });
  at(kSteady + 1, [&] { h.radio.setFailOpen(0); });
  h.runUntilClosed(kSteady + 8);
  EXPECT_EQ(meterBefore, 15);
  EXPECT_TRUE(lost.portLost);
  EXPECT_FALSE(lost.takesSettings);
  EXPECT_EQ(meterLost, h.panel.frm.pbMeter.min);
}

TEST_F(RigClientTest, KeysOnlyWhereThePanelWould) {
  // Out of band: the panel would not key there.
  auto tune = askAt(kSteady, setting(K::Frequency, "1436000"));
  auto outOfBand = keyAt(kSteady + 2, true);
  auto back = askAt(kSteady + 3, setting(K::Frequency, "1425000"));
  // The operator's latched XMT is the operator's.
  clickAt(kSteady + 5, "cmdXmit");
  auto whileLatched = keyAt(kSteady + 6, true);
  auto unkeyOthers = keyAt(kSteady + 6.5, false);
  bool stillKeyed = false;
  at(kSteady + 7, [&] { stillKeyed = radioTransmitting(); });
  clickAt(kSteady + 8, "cmdXmit");
  h.runUntilClosed(kSteady + 10);

  EXPECT_EQ(tune->code(), rprt::Ok);
  EXPECT_EQ(outOfBand->code(), rprt::Rejected);
  EXPECT_EQ(back->code(), rprt::Ok);
  EXPECT_GE(firstTimeOf("K", kSteady), kSteady + 5);  // only the operator's XMT keyed
  EXPECT_EQ(whileLatched->code(), rprt::Rejected);
  // A client's unkey does not end the operator's transmission.
  EXPECT_EQ(unkeyOthers->code(), rprt::Ok);
  EXPECT_TRUE(stillKeyed);
  EXPECT_FALSE(radioTransmitting());
}

TEST_F(RigClientTest, NoKeyingOverTheAmplifiersTune) {
  auto& state = h.simulator().model().state();
  state.amplifier = 4;  // in operate, ready to tune
  state.tune = 2;
  clickAt(kSteady, "cmdTuneAmp");
  bool tuneKeyed = false;
  at(kSteady + 0.4, [&] { tuneKeyed = h.panel.link().keyed(); });
  auto during = keyAt(kSteady + 0.4, true);
  h.runUntilClosed(kSteady + 10);
  ASSERT_TRUE(tuneKeyed) << "the amplifier's tune was over before the client asked";
  EXPECT_EQ(during->code(), rprt::Rejected);
  EXPECT_FALSE(radioTransmitting());
}

TEST_F(RigClientTest, TwoClientsHoldTheTransmitterUntilBothLetGo) {
  keyAt(kSteady, true, 1);
  keyAt(kSteady + 1, true, 2);
  keyAt(kSteady + 2, false, 1);
  bool keyedAfterFirst = false;
  at(kSteady + 3, [&] { keyedAfterFirst = radioTransmitting(); });
  goneAt(kSteady + 4, 2);
  h.runUntilClosed(kSteady + 6);
  EXPECT_TRUE(keyedAfterFirst);
  EXPECT_FALSE(radioTransmitting());
  const double u = firstTimeOf("U", kSteady + 4);
  EXPECT_LT(u - (kSteady + 4), 0.1);
}

TEST_F(RigClientTest, AnUnkeyWhileAModalWindowHoldsTheLoopUnkeysAtOnce) {
  keyAt(kSteady, true);
  clickAt(kSteady + 1, "mnuCATSetup");  // opened from inside the transmission
  keyAt(kSteady + 2, false);
  bool keyedAfter = true;
  at(kSteady + 2.5, [&] { keyedAfter = radioTransmitting(); });
  h.clock.scheduleAt(kSteady + 4, [&] {
    InputEvent cancel;
    cancel.window = "frmCATSetup";
    cancel.control = "cmdCancel";
    h.panel.engine.post(cancel);
  });
  h.runUntilClosed(kSteady + 6);
  EXPECT_FALSE(keyedAfter);
  EXPECT_LT(firstTimeOf("U", kSteady + 2) - (kSteady + 2), 0.1);
}

// Every way a client's transmission ends, at many moments of it: every 10 ms
// over the first second, and around the sync exchanges that follow. The
// panel is brought to steady remote operation directly, without the startup.
class RigClientEndTest : public ::testing::TestWithParam<int> {};

std::vector<double> endMoments() {
  std::vector<double> out;
  for (int i = 0; i <= 100; ++i) out.push_back(i * 0.01);
  for (double sync : {2.2, 4.4})
    for (int d = -3; d <= 25; ++d) out.push_back(sync + d * 0.01);
  return out;
}

TEST_P(RigClientEndTest, EveryEndOfAClientsTransmissionUnkeys) {
  enum Way { Unkey, ClientGone, WindowClosed, ForcedStop };
  const int way = GetParam();
  for (double moment : endMoments()) {
    SCOPED_TRACE("ended " + std::to_string(moment) + " s after the key-down");
    TempWorkDir dir;
    EngineHarness run;
    run.connect(2);
    ASSERT_TRUE(run.queryReport());
    run.panel.frm.window.visible = true;
    run.panel.mainLoop().controlMode = "REMOTE";
    run.panel.st.lastKeyCmd = "U";
    run.panel.st.gLastSyncTime = run.clock.now();
    PanelRigBackend rig(run.panel);
    const double down = run.now() + 0.5, end = down + moment;
    run.clock.scheduleAt(down, [&] { rig.submit(setting(K::Ptt, {}, true), 1, [] {}); });
    run.clock.scheduleAt(end, [&] {
      if (way == Unkey) rig.submit(setting(K::Ptt), 1, [] {});
      if (way == ClientGone) rig.clientGone(1);
      if (way == ForcedStop) run.panel.engine.requestQuit();
    });
    if (way == WindowClosed) {
      InputEvent close;
      close.window = "frmZR3817";
      close.kind = EventKind::Close;
      run.inputAt(end, close);
    }
    try {
      while (run.now() < end + 0.6) run.panel.engine.pump(0.02);
    } catch (const ProgramEnd&) {
    }

    const auto [keys, lastU] = run.keysFrom(down);
    // A program stopped, or a client gone, in the same instant may end
    // before the key-down is taken; otherwise it keyed, and the last word
    // was the unkey.
    if (keys.empty() && (way == ForcedStop || way == ClientGone) && moment == 0) continue;
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front(), 'K');
    EXPECT_EQ(keys.back(), 'U');
    EXPECT_FALSE(run.simulator().model().state().transmitting);
    // Unkeyed within one pass of the transmit loop, not at the next sync.
    EXPECT_LT(lastU - end, 0.5);
  }
}

INSTANTIATE_TEST_SUITE_P(ByUnkey, RigClientEndTest, ::testing::Values(0));
INSTANTIATE_TEST_SUITE_P(ByClientGone, RigClientEndTest, ::testing::Values(1));
INSTANTIATE_TEST_SUITE_P(ByWindowClosed, RigClientEndTest, ::testing::Values(2));
INSTANTIATE_TEST_SUITE_P(ByForcedStop, RigClientEndTest, ::testing::Values(3));

}  // namespace
}  // namespace zr::test
