// The Kenwood-family dialect on the CAT port, as the whole program meets it
// in virtual time: queries answered from the published state, settings
// carried out by the panel's own routines in order, keying as one more
// holder of the PTT, and every way out of a transmission keyed through the
// port leaving the transmitter unkeyed.
#include <gtest/gtest.h>

#include <algorithm>

#include "cat/CatPort.h"
#include "core/MainLoop.h"
#include "core/RadioLink.h"
#include "panel/Transmit.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

constexpr double kSteady = 6.0;  // the remote setup is done well before this
using Answers = std::vector<std::string>;

class KenwoodCatTest : public ::testing::Test {
 protected:
  KenwoodCatTest() {
    TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
    TempWorkDir::write("CATSetup.txt", "2\r\n9600,N,8,1\r\ncomNone\r\nKenwood\r\n");
    h.attachSimulator(2);
    h.panel.cat().setKenwoodDialect(true);
  }
  // Station software sends `bytes` at `t`.
  void sendAt(double t, const std::string& bytes) {
    h.clock.scheduleAt(t, [this, bytes] { h.cat.deliver(bytes); });
  }
  void at(double t, std::function<void()> f) { h.clock.scheduleAt(t, std::move(f)); }
  // Answers written to the CAT port from `from` on, one per write.
  Answers answersFrom(double from, double until = 1e9) const {
    Answers out;
    for (const auto& e : h.cat.wireLog())
      if (e.toRadio && e.time >= from && e.time < until) out.push_back(e.bytes);
    return out;
  }
  double firstAnswerTime(double from) const {
    for (const auto& e : h.cat.wireLog())
      if (e.toRadio && e.time >= from) return e.time;
    return -1;
  }
  double firstTimeOf(const std::string& command, double from) {
    for (const auto& c : h.simulator().commands())
      if (c.time >= from && c.text == command) return c.time;
    return -1;
  }
  std::string keysFrom(double from) { return h.keysFrom(from).keys; }
  sim::TransceiverState& radio() { return h.simulator().model().state(); }
  MainWindowModel& frm() { return h.panel.frm; }

  TempWorkDir dir;
  EngineHarness h;
};

TEST_F(KenwoodCatTest, QueriesAreAnsweredFromTheStateWithinTheReceiveWait) {
  sendAt(kSteady, "ID;");
  sendAt(kSteady + 1, "IF;");
  sendAt(kSteady + 2, "FA;FB;MD;FR;FT;AI;PS;");
  std::string box;
  at(kSteady + 2.5, [&] { box = frm().txtOutCAT.text; });
  h.runUntilClosed(kSteady + 3);

  EXPECT_EQ(answersFrom(kSteady, kSteady + 1), Answers{"ID019;"});
  EXPECT_NEAR(firstAnswerTime(kSteady) - kSteady, CatPort::kRestOfRequestWait, 1e-3);
  // The simulator starts on 14 250.00 kHz USB, receiving, split off.
  const std::string info = std::string("IF") + "00014250000" + "     " + "+0000" + "00" + "000" + "0" + "2" + "000" +
                           "000" + "0" + ";";
  EXPECT_EQ(answersFrom(kSteady + 1, kSteady + 2), Answers{info});
  EXPECT_LT(firstAnswerTime(kSteady + 1) - (kSteady + 1), 0.02);
  const Answers all = answersFrom(kSteady + 2);
  ASSERT_EQ(all.size(), 7u);
  EXPECT_EQ(all[0], "FA00014250000;");
  EXPECT_EQ(all[1].substr(0, 2), "FB");
  EXPECT_EQ(all[2], "MD2;");
  EXPECT_EQ(all[3], "FR0;");
  EXPECT_EQ(all[4], "FT0;");
  EXPECT_EQ(all[5], "AI0;");
  EXPECT_EQ(all[6], "PS1;");
  // The box shows the receive's whole answer.
  std::string joined;
  for (const auto& a : all) joined += a;
  EXPECT_EQ(box, joined);
}

TEST_F(KenwoodCatTest, SettingsGoThroughThePanelsRoutinesInOrder) {
  sendAt(kSteady, "FA00007074000;MD1;IF;");
  // Arrives while the settings are carried out: answered after them.
  sendAt(kSteady + 0.1, "ID;");
  // Split needs the same mode on both VFOs.
  at(kSteady + 2.5, [&] { frm().cmbVFOBMode.text = "LSB"; });
  sendAt(kSteady + 3, "FB00007080000;FR0;FT1;FT;IF;");
  RigStateSnapshot split;
  at(kSteady + 4, [&] { split = h.panel.currentRigState(); });
  sendAt(kSteady + 4, "FR0;FT;");
  h.runUntilClosed(kSteady + 5);

  EXPECT_GE(firstTimeOf("F0707400", kSteady), kSteady);
  EXPECT_GE(firstTimeOf("M2", kSteady), kSteady);
  EXPECT_EQ(radio().frequency, 707400);
  EXPECT_EQ(radio().mode, 2);
  // Settings are not answered; the query after them sees what they did.
  const Answers first = answersFrom(kSteady, kSteady + 3);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].substr(0, 13), "IF00007074000");
  EXPECT_EQ(first[0][29], '1') << "LSB";
  EXPECT_EQ(first[1], "ID019;");

  EXPECT_TRUE(split.split);
  EXPECT_EQ(split.vfoBFreqCmd, "F0708000");
  const Answers second = answersFrom(kSteady + 3, kSteady + 4);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[0], "FT1;");
  EXPECT_EQ(second[1][32], '1') << "split in the IF answer";
  // VFO B is the panel's own: nothing of it went to the transceiver.
  EXPECT_LT(firstTimeOf("F0708000", kSteady), 0);
  // Choosing the receive VFO ends split, as on a Kenwood transceiver.
  EXPECT_EQ(answersFrom(kSteady + 4), Answers{"FT0;"});
  EXPECT_EQ(frm().lblSplit.caption, "Split Off");
}

TEST_F(KenwoodCatTest, WhatCannotBeDoneIsAnsweredWithAQuestionMarkAndShown) {
  // Unsupported requests, a frequency out of range, a setting while a
  // dialog holds the panel; split with different modes is taken, VFO B
  // taking VFO A's mode as a network client's split does.
  sendAt(kSteady, "SA;FA00040000000;ID;");
  at(kSteady + 0.5, [&] { frm().cmbVFOBMode.text = "CW"; });
  sendAt(kSteady + 1, "FT1;FT;");
  h.clickAt(kSteady + 2, "mnuCATSetup");
  sendAt(kSteady + 3, "FA00007074000;IF;");
  std::string monitor;
  at(kSteady + 3.5, [&] { monitor = frm().lblCatIgnored.caption; });
  h.clickAt(kSteady + 4, "cmdCancel", -1, "frmCATSetup");
  h.runUntilClosed(kSteady + 5);

  EXPECT_EQ(answersFrom(kSteady, kSteady + 1), (Answers{"?;", "?;", "ID019;"}));
  EXPECT_EQ(answersFrom(kSteady + 1, kSteady + 2), (Answers{"FT1;"}));
  EXPECT_TRUE(h.host.messages.empty()) << "a station program's split gets no message box";
  EXPECT_EQ(frm().cmbVFOBMode.text, "USB");
  const Answers duringDialog = answersFrom(kSteady + 3, kSteady + 4);
  ASSERT_EQ(duringDialog.size(), 2u);
  EXPECT_EQ(duringDialog[0], "?;");
  EXPECT_EQ(duringDialog[1].substr(0, 13), "IF00014250000");
  EXPECT_LT(firstTimeOf("F0707400", kSteady), 0);
  EXPECT_EQ(monitor, "refused: SA; FA0004000000...; FA0000707400...;");
  EXPECT_TRUE(frm().lblCatHint.visible);
}

TEST_F(KenwoodCatTest, TxAndRxKeyLikeThePttButton) {
  sendAt(kSteady, "TX;");
  RigStateSnapshot keyed;
  std::string ifKeyed;
  at(kSteady + 1, [&] { keyed = h.panel.currentRigState(); });
  sendAt(kSteady + 1, "IF;");
  sendAt(kSteady + 2, "RX;");
  // Split: the transmission moves to VFO B and back.
  at(kSteady + 2.5, [&] { frm().cmbVFOBMode.text = "USB"; });
  sendAt(kSteady + 3, "FB00014200000;FT1;");
  sendAt(kSteady + 4, "TX;");
  bool onB = false;
  at(kSteady + 5, [&] { onB = radio().transmitting && radio().frequency == 1420000; });
  sendAt(kSteady + 6, "RX;");
  // Out of band: refused as the PTT button would be, nothing keyed.
  sendAt(kSteady + 7, "FT0;FA00014360000;");
  sendAt(kSteady + 8, "TX;");
  std::string monitor;
  at(kSteady + 9, [&] { monitor = frm().lblCatIgnored.caption; });
  h.runUntilClosed(kSteady + 10);

  EXPECT_GE(firstTimeOf("K", kSteady), kSteady);
  EXPECT_LT(firstTimeOf("K", kSteady) - kSteady, 0.3);
  EXPECT_TRUE(keyed.transmitting);
  EXPECT_FALSE(keyed.takesSettings);
  const Answers info = answersFrom(kSteady + 1, kSteady + 2);
  ASSERT_EQ(info.size(), 1u);
  EXPECT_EQ(info[0][28], '1') << info[0];
  EXPECT_LT(firstTimeOf("U", kSteady + 2) - (kSteady + 2), 0.1);
  EXPECT_TRUE(onB);
  EXPECT_GE(firstTimeOf("F1425000", kSteady + 6), kSteady + 6) << "back on VFO A after the split transmission";
  const std::string keys = keysFrom(kSteady);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), 'K'), 2) << keys;
  EXPECT_EQ(keys.back(), 'U');
  EXPECT_LT(firstTimeOf("U", kSteady + 6) - (kSteady + 6), 0.1);
  EXPECT_FALSE(radio().transmitting);
  EXPECT_NE(monitor.find("TX;"), std::string::npos) << monitor;
}

TEST_F(KenwoodCatTest, AKeyUpNeverWaitsAndVoidsTheKeyDownsBeforeIt) {
  // A key-down queued behind a setting, then the key-up: nothing keys.
  sendAt(kSteady, "FA00007074000;TX;RX;");
  // The setting before a key-down is carried out first: the transmission is
  // on the new frequency.
  sendAt(kSteady + 2, "FA00007080000;TX;");
  double keyedOn = 0;
  at(kSteady + 3, [&] { keyedOn = radio().transmitting ? radio().frequency : -1; });
  // While keyed, settings are refused and the key-up is taken at once.
  sendAt(kSteady + 3, "FA00007090000;RX;");
  h.runUntilClosed(kSteady + 5);

  EXPECT_EQ(radio().frequency, 708000);
  const std::string keys = keysFrom(kSteady);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), 'K'), 1) << keys;
  EXPECT_EQ(keys.back(), 'U');
  EXPECT_GT(firstTimeOf("K", kSteady), firstTimeOf("F0708000", kSteady));
  EXPECT_EQ(keyedOn, 708000);
  EXPECT_LT(firstTimeOf("U", kSteady + 3) - (kSteady + 3), 0.1);
  EXPECT_LT(firstTimeOf("F0709000", kSteady), 0);
  EXPECT_EQ(answersFrom(kSteady + 3), Answers{"?;"});
  EXPECT_FALSE(radio().transmitting);
}

TEST_F(KenwoodCatTest, WithTheDialectOffTheSameRequestsGetNoAnswer) {
  h.panel.cat().setKenwoodDialect(false);
  sendAt(kSteady, "ID;IF;FB;AI0;PS;TX;");
  sendAt(kSteady + 1, "FA;MD;");
  h.runUntilClosed(kSteady + 2);
  EXPECT_EQ(answersFrom(kSteady), (Answers{"FA00014250000;", "MD2;"}));
  EXPECT_LT(firstTimeOf("K", kSteady), 0);
  EXPECT_EQ(frm().lblCatIgnored.caption, "ignored: ID; IF; FB; AI0; PS; TX;");
  EXPECT_EQ(frm().txtOutCAT.text, "FA00014250000;MD2;");
}

// Every way a transmission keyed through the CAT port ends, at many moments
// of it. The panel is brought to steady remote operation directly.
class KenwoodCatEndTest : public ::testing::TestWithParam<int> {};

TEST_P(KenwoodCatEndTest, EveryEndOfATransmissionKeyedThroughThePortUnkeys) {
  enum Way { Rx, PortClosed, PortReopened, DialectOff, WindowClosed };
  const int way = GetParam();
  std::vector<double> moments;
  for (int i = 0; i <= 50; ++i) moments.push_back(i * 0.02);
  for (int d = -3; d <= 12; ++d) moments.push_back(2.2 + d * 0.02);
  for (double moment : moments) {
    SCOPED_TRACE("ended " + std::to_string(moment) + " s after TX;");
    TempWorkDir dir;
    EngineHarness run;
    run.connect(2);
    ASSERT_TRUE(run.queryReport());
    run.panel.frm.window.visible = true;
    run.panel.mainLoop().controlMode = "REMOTE";
    run.panel.st.lastKeyCmd = "U";
    run.panel.st.gLastSyncTime = run.clock.now();
    run.panel.settings.gCATPort = "2";
    run.panel.settings.gCATSettings = "9600,N,8,1";
    run.panel.cat().setKenwoodDialect(true);
    ASSERT_TRUE(run.panel.cat().SetUpCATPort());
    const double down = run.now() + 0.5, end = down + moment;
    run.clock.scheduleAt(down, [&] { run.cat.deliver("TX;"); });
    run.clock.scheduleAt(end, [&] {
      if (way == Rx) run.cat.deliver("RX;");
      if (way == PortClosed) run.cat.close();
      // As the menu does, at a pump, once the CAT Setup dialog has been applied.
      if (way == PortReopened) run.panel.engine.postTask("test", [&] { run.panel.cat().SetUpCATPort(); });
      if (way == DialectOff) run.panel.cat().setKenwoodDialect(false);
    });
    if (way == WindowClosed) {
      InputEvent close;
      close.window = "frmZR3817";
      close.kind = EventKind::Close;
      run.inputAt(end, close);
    }
    try {
      while (run.now() < end + 0.6) {
        run.panel.engine.pump(0.02);
        if (run.panel.form.gCATPending) run.panel.cat().CATCmd();
      }
    } catch (const ProgramEnd&) {
    }

    const auto [keys, lastU] = run.keysFrom(down);
    // Ended before the request was even taken: nothing may have keyed.
    if (keys.empty() && moment <= CatPort::kRestOfRequestWait) continue;
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front(), 'K');
    EXPECT_EQ(keys.back(), 'U');
    EXPECT_FALSE(run.simulator().model().state().transmitting);
    EXPECT_LT(lastU - end, 0.5);
  }
}

INSTANTIATE_TEST_SUITE_P(ByRx, KenwoodCatEndTest, ::testing::Values(0));
INSTANTIATE_TEST_SUITE_P(ByPortClosed, KenwoodCatEndTest, ::testing::Values(1));
INSTANTIATE_TEST_SUITE_P(ByPortReopened, KenwoodCatEndTest, ::testing::Values(2));
INSTANTIATE_TEST_SUITE_P(ByDialectOff, KenwoodCatEndTest, ::testing::Values(3));
INSTANTIATE_TEST_SUITE_P(ByWindowClosed, KenwoodCatEndTest, ::testing::Values(4));

}  // namespace
}  // namespace zr::test
