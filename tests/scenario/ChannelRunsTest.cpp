// The channel window's runs against the transceiver in virtual time: the
// exact requests and their spacing, what is accepted as a channel's record,
// stopping after the channel in progress, and the main window's VFO A left
// alone by every channel reply.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "core/MainMenus.h"
#include "core/RadioLink.h"
#include "core/StatusDecoder.h"
#include "core/StatusDisplay.h"
#include "lists/ChannelSetupDialog.h"
#include "sim/ChannelPlan.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

std::string lCommand(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "L%02d\n", n);
  return buf;
}

class ChannelRunsTest : public ::testing::Test {
 protected:
  void click(double at, const std::string& control) {
    InputEvent e;
    e.window = "frmChannelSetup";
    e.control = control;
    h.inputAt(at, e);
  }
  // The simulator on the radio port and VFO A painted from its report.
  void connect() {
    h.connect(2);
    ASSERT_TRUE(h.queryReport());
  }
  void open(std::vector<std::string> list = {}) {
    dialog.Form_Load();
    m.lsbChList.items = std::move(list);
  }
  // Runs the window until the OK click at `okAt` has closed it.
  void runUntilOk(double okAt) {
    click(okAt, "cmdOK");
    h.panel.engine.runModal(m, h.panel.frm);
  }
  std::string vfoA() const {
    std::string digits;
    for (const auto& d : h.panel.frm.cmdF) digits += d.caption;
    return digits + " " + h.panel.frm.cmbMode.text;
  }
  // What the service loop does next: read what waits, then show it.
  void serviceLoopCatchesUp() {
    if (h.radio.inBufferCount() > 0) h.panel.link().gReadResponse();
    h.panel.display().gUpdateDisplay();
  }
  // A scripted transceiver: after each request it names, the given reply,
  // delivered the given time after the request.
  void answer(std::map<std::string, std::pair<double, std::string>> answers) {
    answers_ = std::move(answers);
    h.radio.setPeer([this](std::string_view bytes) {
      const auto it = answers_.find(std::string(bytes.substr(0, bytes.size() - 1)));
      if (it == answers_.end()) return;
      h.clock.scheduleIn(it->second.first, [this, reply = it->second.second] { h.radio.deliver(reply); });
    });
  }
  std::vector<WireEntry> writesAfter(double t) const {
    std::vector<WireEntry> out;
    for (const auto& w : h.writes())
      if (w.time > t) out.push_back(w);
    return out;
  }

  TempWorkDir dir;
  EngineHarness h;
  std::map<std::string, std::pair<double, std::string>> answers_;
  ChannelSetupDialog& dialog = h.panel.menus().channelSetup();
  ChannelSetupWindowModel& m = dialog.model();
};

TEST_F(ChannelRunsTest, LoadAsksForEveryChannelAndSilenceCostsOnlyTheWait) {
  connect();
  const std::string before = vfoA();
  open();
  click(1.0, "cmdLoad");
  runUntilOk(40);

  EXPECT_EQ(m.lsbChList.items, (std::vector<std::string>{"0007074002", "0114070001", "0210000003", "0303535004"}));
  EXPECT_EQ(m.txtResp.text, "P0303535004");
  EXPECT_EQ(m.lblStatus.caption, "Load: 4 channels read, 96 empty.");
  EXPECT_EQ(h.panel.frm.txtInfo.text, m.lblStatus.caption);
  const auto w = h.writes();
  ASSERT_EQ(w.size(), 100u);
  for (int n = 0; n < 100; ++n) EXPECT_EQ(w[n].bytes, lCommand(n));
  EXPECT_DOUBLE_EQ(w[0].time, 1.0);
  for (int n = 0; n < 99; ++n) {
    const double gap = w[n + 1].time - w[n].time;
    if (n < 4)  // the wait, then the reply read to its quiet gap
      EXPECT_GT(gap, 0.31) << n;
    else  // an empty channel: the wait and nothing more
      EXPECT_NEAR(gap, 0.25, 1e-6) << n;
  }
  EXPECT_LT(w[99].time + 0.25 - w[0].time, 25.5);
  // Silent channels are not a lost link.
  EXPECT_EQ(h.panel.frm.lblComStat.caption, "Com OK");
  serviceLoopCatchesUp();
  EXPECT_EQ(vfoA(), before);
}

TEST_F(ChannelRunsTest, LoadKeepsOnlyWellFormedRecordsOfChannelsAskedAndNotYetAnswered) {
  h.openRadioPort();
  const std::string before = vfoA();
  answer({
      {"L00", {0.02, "P0007074002\n"}},
      {"L01", {0.02, "P01\n"}},                        // short
      {"L02", {0.02, "P0914070001\n"}},                // a channel not asked yet
      {"L03", {0.02, "P0007074002\n"}},                // a channel already answered
      {"L04", {0.02, "P0414070009\n"}},                // no such mode
      {"L05", {0.02, "P0514070001X\n"}},               // long
      {"L06", {0.02, "M1\nP0614070001\nF1400000\n"}},  // among other lines
  });
  open();
  click(1.0, "cmdLoad");
  runUntilOk(40);

  EXPECT_EQ(m.lsbChList.items, (std::vector<std::string>{"0007074002", "0614070001"}));
  EXPECT_EQ(m.lblStatus.caption, "Load: 2 channels read, 98 empty. Replies refused at channels 01, 02, 03, 04, 05.");
  EXPECT_NE(h.panel.frm.lblComStat.caption, "No Com");
  EXPECT_FALSE(h.panel.st.gChannelDataChanged);
  // The other lines of a reply are the transceiver's state as usual.
  EXPECT_EQ(h.panel.st.gFreqCmd, "F1400000");
  h.panel.display().gUpdateDisplay();
  EXPECT_EQ(vfoA().substr(0, 7), "1400000");
  EXPECT_NE(before, vfoA());
}

// A slow radio or a loaded machine: a record that begins after its 0.25 s
// wait is read with a later channel, and still names its own channel.
TEST_F(ChannelRunsTest, LoadTakesASlowRecordForItsOwnChannelInChannelOrder) {
  h.openRadioPort();
  const std::string before = vfoA();
  answer({
      {"L02", {0.35, "P0207074002\n"}},  // read with 03, which is empty
      {"L05", {0.45, "P0514070001\n"}},  // read with 06
      {"L06", {0.02, "P0614074001\n"}},
      {"L10", {0.53, "P1021074004\n"}},  // comes behind 11's own record
      {"L11", {0.02, "P1128074001\n"}},
      {"L99", {0.50, "P9929000003\n"}},  // after the last wait
  });
  open();
  dialog.cmdLoad_Click();
  const double end = h.now();

  EXPECT_EQ(m.lsbChList.items, (std::vector<std::string>{"0207074002", "0514070001", "0614074001", "1021074004",
                                                        "1128074001", "9929000003"}));
  EXPECT_EQ(m.lblStatus.caption, "Load: 6 channels read, 94 empty.");
  EXPECT_EQ(m.txtResp.text, "P9929000003");
  // The requests and their spacing are those of a radio that answers in time.
  const auto w = h.writes();
  ASSERT_EQ(w.size(), 100u);
  for (int n = 0; n < 100; ++n) EXPECT_EQ(w[n].bytes, lCommand(n));
  EXPECT_NEAR(w[3].time - w[2].time, 0.25, 1e-6);
  EXPECT_NEAR(w[50].time - w[49].time, 0.25, 1e-6);
  // The last record is waited for until it has come, and no longer.
  EXPECT_GT(end, w[99].time + 0.5);
  EXPECT_LT(end, w[99].time + 0.6);
  EXPECT_EQ(h.radio.inBufferCount(), 0);
  serviceLoopCatchesUp();
  EXPECT_EQ(vfoA(), before);
}

TEST_F(ChannelRunsTest, SilenceOnTheLastChannelCostsTheReplyTimeoutAtMost) {
  h.openRadioPort();
  answer({{"L05", {0.02, "P0507074002\n"}}});
  open({"0507074002", "1214074004"});
  dialog.cmdVerify_Click();
  const auto w = h.writes();
  ASSERT_EQ(w.size(), 2u);
  EXPECT_NEAR(h.now() - w[1].time, 0.25 + 0.8, 0.02);
  EXPECT_EQ(m.lsbVerify.items, std::vector<std::string>{"12: missing in the radio (list 14074.00 CW)"});
}

TEST_F(ChannelRunsTest, StoreSendsEachWellFormedEntryWithItsWaitAndSkipsTheRest) {
  connect();
  const std::string before = vfoA();
  open({"0507074002", "05ABC", "1214074004", "0507074", "3303535004"});
  click(1.0, "cmdStore");
  runUntilOk(10);

  const auto w = h.writes();
  ASSERT_EQ(w.size(), 3u);
  EXPECT_EQ(w[0].bytes, "P0507074002\n");
  EXPECT_EQ(w[1].bytes, "P1214074004\n");
  EXPECT_EQ(w[2].bytes, "P3303535004\n");
  EXPECT_NEAR(w[1].time - w[0].time, 0.25, 1e-6);
  EXPECT_NEAR(w[2].time - w[1].time, 0.25, 1e-6);
  EXPECT_EQ(m.txtResp.text, "3303535004");
  EXPECT_EQ(m.lblStatus.caption,
            "Store: 3 channels sent, 3 confirmed by the radio. Skipped, not channel records: \"05ABC\", \"0507074\".");
  const auto& memory = h.simulator().model().state().memory;
  ASSERT_TRUE(memory[12].has_value());
  EXPECT_EQ(memory[12]->frequency, 1407400);
  EXPECT_EQ(memory[12]->mode, 4);
  // The echoes were the window's: nothing is left for the service loop.
  EXPECT_EQ(h.radio.inBufferCount(), 0);
  serviceLoopCatchesUp();
  EXPECT_EQ(vfoA(), before);
}

TEST_F(ChannelRunsTest, StoreTakesAnEchoThatArrivesAfterTheLastWait) {
  h.openRadioPort();
  const std::string before = vfoA();
  // Each echo comes during the next entry's wait; the last one after all waits.
  h.radio.setPeer([&](std::string_view bytes) {
    h.clock.scheduleIn(0.6, [this, echo = std::string(bytes)] { h.radio.deliver(echo); });
  });
  open({"0507074002", "1214074004"});
  click(1.0, "cmdStore");
  runUntilOk(5);
  EXPECT_EQ(m.lblStatus.caption, "Store: 2 channels sent, 2 confirmed by the radio.");
  EXPECT_EQ(h.radio.inBufferCount(), 0);
  serviceLoopCatchesUp();
  EXPECT_EQ(vfoA(), before);
}

TEST_F(ChannelRunsTest, StoreUnderLocalControlSaysTheRadioConfirmedNothing) {
  connect();
  h.simulator().setRemoteControl(false);
  open({"0507074002"});
  click(1.0, "cmdStore");
  runUntilOk(5);
  EXPECT_EQ(m.lblStatus.caption, "Store: 1 channel sent, 0 confirmed by the radio.");
}

TEST_F(ChannelRunsTest, CancelStopsLoadAfterTheChannelInProgress) {
  connect();
  open();
  bool buttonsDuringRun = false;
  click(1.0, "cmdLoad");
  h.clock.scheduleAt(2.0, [&] {
    buttonsDuringRun = !m.cmdLoad.enabled && !m.cmdStore.enabled && !m.cmdVerify.enabled && !m.cmdOpenFile.enabled &&
                       !m.cmdSaveFile.enabled && !m.cmdBrowse.enabled && m.cmdCancel.enabled && m.cmdOK.enabled;
  });
  click(2.05, "cmdLoad");  // dropped: disabled
  click(3.0, "cmdCancel");
  runUntilOk(6);

  EXPECT_TRUE(buttonsDuringRun);
  const auto w = h.writes();
  ASSERT_FALSE(w.empty());
  EXPECT_LT(w.back().time, 3.0);
  EXPECT_GT(w.back().time, 3.0 - 0.32);
  const int last = std::stoi(w.back().bytes.substr(1, 2));
  EXPECT_EQ(static_cast<int>(w.size()), last + 1);  // one run, no second one
  EXPECT_EQ(m.lsbChList.items.size(), 4u);
  EXPECT_EQ(m.lblStatus.caption, "Load stopped after channel " + w.back().bytes.substr(1, 2) + ": 4 channels read.");
  EXPECT_TRUE(m.cmdLoad.enabled);
  EXPECT_FALSE(m.cmdCancel.enabled);
}

TEST_F(ChannelRunsTest, CancelStopsStoreAfterTheEntryInProgress) {
  connect();
  const std::string before = vfoA();
  open({"1014000001", "1114010001", "1214020001", "1314030001", "1414040001", "1514050001"});
  click(1.0, "cmdStore");
  click(1.6, "cmdCancel");  // during the third entry's wait
  runUntilOk(4);
  const auto w = h.writes();
  ASSERT_EQ(w.size(), 3u);
  EXPECT_EQ(w[2].bytes, "P1214020001\n");
  EXPECT_EQ(m.lblStatus.caption, "Store stopped after entry 3 of 6: 3 channels sent, 3 confirmed by the radio.");
  serviceLoopCatchesUp();
  EXPECT_EQ(vfoA(), before);
}

TEST_F(ChannelRunsTest, OkDuringARunEndsItAndThenClosesTheWindow) {
  connect();
  open();
  click(1.0, "cmdLoad");
  runUntilOk(2.0);
  EXPECT_LT(h.now(), 2.4);
  EXPECT_FALSE(m.window.visible);
  EXPECT_TRUE(h.panel.frm.window.enabled);
  EXPECT_TRUE(writesAfter(2.0).empty());
  EXPECT_EQ(h.radio.inBufferCount(), 0);
}

TEST_F(ChannelRunsTest, VerifyReportsWhatTheRadioHoldsOtherwise) {
  connect();
  auto& memory = h.simulator().model().state().memory;
  memory[1] = sim::MemoryChannel{1407500, 1};
  memory[2] = sim::MemoryChannel{1000000, 1};
  // Stored twice: the radio keeps the last, so only that one is compared.
  open({"0007074002", "0114070001", "0210000003", "0303000004", "0303535004", "0514070001", "bad"});
  click(1.0, "cmdVerify");
  runUntilOk(10);

  std::string asked;
  for (const auto& w : h.writes()) asked += w.bytes;
  EXPECT_EQ(asked, "L00\nL01\nL02\nL03\nL05\n");
  EXPECT_TRUE(m.lsbVerify.visible);
  EXPECT_EQ(m.lsbVerify.items, (std::vector<std::string>{
                                   "01: other frequency (radio 14075.00 USB, list 14070.00 USB)",
                                   "02: other mode (radio 10000.00 USB, list 10000.00 AM)",
                                   "05: missing in the radio (list 14070.00 USB)",
                               }));
  const std::string summary =
      "Verify: 3 of 5 channels differ from the radio. Skipped, not channel records: \"bad\".";
  EXPECT_EQ(m.lblStatus.caption, summary);
  EXPECT_EQ(m.txtResp.text, summary);
  EXPECT_EQ(h.panel.frm.txtInfo.text, summary);
}

TEST_F(ChannelRunsTest, AVerifyResultGoesWhenOpenFileOrLoadReplacesTheList) {
  connect();
  h.simulator().model().state().memory[1] = sim::MemoryChannel{1407500, 1};
  TempWorkDir::write(ChannelSetupDialog::kDefaultFileName, "01,14075.00,USB\r\n");
  open({"0114070001"});
  struct Seen {
    bool verifyShown;
    std::size_t found;
    std::string resp;
  };
  std::vector<Seen> seen;
  auto look = [&](double at) {
    h.clock.scheduleAt(at, [&] { seen.push_back({m.lsbVerify.visible, m.lsbVerify.items.size(), m.txtResp.text}); });
  };
  click(1.0, "cmdVerify");
  look(2.9);
  click(3.0, "cmdOpenFile");
  look(3.1);
  click(4.0, "cmdVerify");
  look(5.9);
  click(6.0, "cmdLoad");
  look(6.1);
  runUntilOk(40);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_TRUE(seen[0].verifyShown);
  EXPECT_EQ(seen[0].found, 1u);
  EXPECT_FALSE(seen[1].verifyShown) << "Open File replaced the list";
  EXPECT_EQ(seen[1].found, 0u);
  EXPECT_EQ(seen[1].resp, "OK");
  EXPECT_TRUE(seen[2].verifyShown);
  EXPECT_EQ(seen[2].found, 1u) << "\"No differences.\" for the file's channel";
  EXPECT_FALSE(seen[3].verifyShown) << "Load replaced the list";
  EXPECT_EQ(seen[3].found, 0u);
}

TEST_F(ChannelRunsTest, VerifyComparesASlowRecordWithItsOwnChannel) {
  h.openRadioPort();
  answer({
      {"L05", {0.40, "P0507074002\n"}},  // read with 12
      {"L12", {0.02, "P1214075004\n"}},
      {"L33", {0.45, "P3321074001\nP1214074004\n"}},  // after the last wait; 12 again
  });
  open({"0507074002", "1214074004", "3321074001"});
  dialog.cmdVerify_Click();

  std::string asked;
  for (const auto& w : h.writes()) asked += w.bytes;
  EXPECT_EQ(asked, "L05\nL12\nL33\n");
  EXPECT_EQ(m.lsbVerify.items,
            std::vector<std::string>{"12: other frequency (radio 14075.00 CW, list 14074.00 CW)"});
  EXPECT_EQ(m.lblStatus.caption, "Verify: 1 of 3 channels differ from the radio. Replies refused at channels 33.");
  EXPECT_EQ(h.radio.inBufferCount(), 0);
}

TEST_F(ChannelRunsTest, VerifyAfterStoreFindsNoDifference) {
  connect();
  sim::applyChannelPlan(h.simulator().model(), {}, true);
  open({"4507074002", "4614070001"});
  click(1.0, "cmdStore");
  click(2.0, "cmdVerify");
  runUntilOk(4);
  EXPECT_EQ(m.lblStatus.caption, "Verify: 2 channels match the radio.");
  EXPECT_EQ(m.lsbVerify.items, std::vector<std::string>{"No differences."});
}

TEST_F(ChannelRunsTest, RunsAreRefusedWithoutAnOpenPortOrWhileKeyed) {
  open({"0507074002"});
  dialog.cmdLoad_Click();
  EXPECT_EQ(h.panel.frm.txtInfo.text, "cmdLoad_Click: Err 8012. Operation valid only when the port is open");
  connect();
  h.panel.link().writeDirect("K");
  h.radio.clearLog();
  dialog.cmdStore_Click();
  EXPECT_EQ(h.host.beeps, 1);
  EXPECT_EQ(m.lblStatus.caption, "cmdStore_Click: the transmitter is keyed; unkey it before a channel run.");
  EXPECT_TRUE(h.written().empty());
  EXPECT_TRUE(m.cmdLoad.enabled);
}

TEST_F(ChannelRunsTest, AProgramEndDuringARunLeavesNothingBehind) {
  connect();
  open();
  click(1.0, "cmdLoad");
  h.clock.scheduleAt(2.0, [this] { h.panel.engine.requestQuit(); });
  EXPECT_THROW(h.panel.engine.runModal(m, h.panel.frm), ProgramEnd);
  EXPECT_TRUE(m.cmdLoad.enabled);
  EXPECT_FALSE(dialog.running());
  // Channel lines reach the transceiver state again.
  std::string reply = "P0507074002\n";
  h.panel.decoder().gParseResponse(reply);
  EXPECT_TRUE(h.panel.st.gChannelDataChanged);
}

}  // namespace
}  // namespace zr::test
