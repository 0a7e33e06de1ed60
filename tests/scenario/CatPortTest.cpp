// Station software on the CAT port: requests arrive as receive events on the
// fake port, the service loop's CATCmd answers on the same port and passes
// settings to the simulated transceiver.
#include <gtest/gtest.h>

#include <random>

#include "cat/CatPort.h"
#include "cat/CatRequests.h"
#include "core/CommandComposer.h"
#include "core/Errors.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class CatPortTest : public ::testing::Test {
 protected:
  // A transceiver whose full report has been decoded, and an open CAT port.
  void start(int firmware) {
    h.connect(firmware);
    query();
    openCat();
  }
  void openCat(const std::string& handshake = "comNone") {
    s().gCATPort = "2";
    s().gCATSettings = "9600,N,8,1";
    s().gCATHandshake = handshake;
    ASSERT_TRUE(cat().SetUpCATPort());
  }
  void query() {
    ASSERT_TRUE(h.queryReport());
  }
  // Station software sends `bytes`; the pumps take the request once its
  // receive wait is over, and the service loop then serves the flag.
  void send(const std::string& bytes) {
    h.cat.deliver(bytes);
    pumpUntilTaken();
    if (h.panel.form.gCATPending) cat().CATCmd();
  }
  void pumpUntilTaken() {
    h.panel.engine.pump();
    while (cat().receiving()) h.panel.engine.pump(1.0);
  }
  // Answers written to the CAT port, with their virtual times.
  std::vector<WireEntry> timedAnswers() const {
    std::vector<WireEntry> out;
    for (const auto& e : h.cat.wireLog())
      if (e.toRadio) out.push_back(e);
    return out;
  }
  // Each answer as it was written to the CAT port.
  std::vector<std::string> answers() const {
    std::vector<std::string> out;
    for (const auto& e : h.cat.wireLog())
      if (e.toRadio) out.push_back(e.bytes);
    return out;
  }
  using Answers = std::vector<std::string>;
  static std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t p = 0;
    for (std::size_t nl; (nl = text.find('\n', p)) != std::string::npos; p = nl + 1) out.push_back(text.substr(p, nl - p));
    return out;
  }
  std::size_t frequencyCommands() const {
    std::size_t n = 0;
    for (const auto& line : lines(h.written())) n += !line.empty() && line[0] == 'F';
    return n;
  }

  CatPort& cat() { return h.panel.cat(); }
  TransceiverState& st() { return h.panel.st; }
  Settings& s() { return h.panel.settings; }
  MainWindowModel& frm() { return h.panel.frm; }
  sim::TransceiverState& radio() { return h.simulator().model().state(); }
  EngineHarness h;
};

TEST_F(CatPortTest, SetUpOpensWithTheCatSettingsAndReopensOnEveryCall) {
  h.panel.form.gCATSetupChanged = true;
  openCat("comRTSXonXoff");
  EXPECT_TRUE(h.cat.isOpen());
  EXPECT_EQ(h.cat.commPort(), 2);
  EXPECT_EQ(h.cat.settings(), "9600,N,8,1");
  EXPECT_EQ(h.cat.handshaking(), Handshaking::RtsCts);
  EXPECT_TRUE(h.cat.rtsEnable());
  EXPECT_FALSE(h.panel.form.gCATSetupChanged);

  s().gCATPort = "3";
  s().gCATHandshake = "comXonXoff";
  EXPECT_TRUE(cat().SetUpCATPort());
  EXPECT_EQ(h.cat.opens(), 2);
  EXPECT_EQ(h.cat.commPort(), 3);
  EXPECT_EQ(h.cat.handshaking(), Handshaking::None);
}

TEST_F(CatPortTest, AReceiveEventNeedsThreeCharactersAndNulsAreDiscarded) {
  openCat();
  h.cat.deliver("F");
  h.cat.deliver(std::string("\0\0", 2));
  h.panel.engine.pump();
  EXPECT_FALSE(h.panel.form.gCATPending) << "a NUL must not count towards the threshold";
  h.cat.deliver("A");
  h.panel.engine.pump();
  EXPECT_FALSE(h.panel.form.gCATPending);
  h.cat.deliver(";M");
  const double before = h.now();
  pumpUntilTaken();
  EXPECT_EQ(cat().gCATInput, "FA;M");
  EXPECT_EQ(frm().txtInCat.text, "FA;M");
  EXPECT_NEAR(h.now() - before, CatPort::kRestOfRequestWait, 1e-6);
  EXPECT_EQ(h.cat.inBufferCount(), 0);
}

TEST_F(CatPortTest, AReceiveEventNeverOutlivesTheBytesItAnnounced) {
  start(2);
  // Each delivery raises its own receive event; the second arrives while
  // the first waits for the rest of its request, and is read with it.
  h.cat.deliver("FA;");
  h.clock.scheduleIn(0.012, [&] { h.cat.deliver("MD;"); });
  pumpUntilTaken();
  EXPECT_EQ(cat().gCATInput, "FA;MD;");
  for (int i = 0; i < 5; ++i) h.panel.engine.pump(0.1);
  EXPECT_EQ(cat().gCATInput, "FA;MD;") << "an empty read must not replace the request";
  EXPECT_EQ(answers(), (Answers{"FA00014250000;", "MD2;"}));

  // The same when the next request arrives before the leftover event is taken.
  h.cat.clearLog();
  h.cat.deliver("MD;");
  h.cat.deliver("FA;");
  pumpUntilTaken();
  for (int i = 0; i < 5; ++i) h.panel.engine.pump(0.1);
  EXPECT_EQ(answers(), (Answers{"MD2;", "FA00014250000;"}));
}

TEST_F(CatPortTest, QueriesAreAnsweredWhileTheLinkWaits) {
  start(2);
  // During a fixed delay of the link: answered the receive wait after the
  // request, not when the delay ends.
  h.clock.scheduleIn(0.1, [&] { h.cat.deliver("FA;"); });
  const double start = h.now();
  h.panel.link().gDelay(0.3);
  ASSERT_EQ(timedAnswers().size(), 1u);
  EXPECT_NEAR(timedAnswers()[0].time - start, 0.1 + CatPort::kRestOfRequestWait, 1e-6);
  EXPECT_NEAR(h.now() - start, 0.3, 1e-6) << "the delay itself is kept";

  // During a mode change, which waits for the transceiver: the answer still
  // holds the mode the transceiver last confirmed.
  h.cat.clearLog();
  h.clock.scheduleIn(0.1, [&] { h.cat.deliver("MD;"); });
  h.clock.scheduleIn(0.32, [&] { h.cat.deliver("MD;"); });
  const double change = h.now();
  h.panel.cmds().gSetMode("M2");
  EXPECT_EQ(st().gMode, "M2");
  const auto a = timedAnswers();
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[0].bytes, "MD2;");
  EXPECT_NEAR(a[0].time - change, 0.1 + CatPort::kRestOfRequestWait, 1e-6);
  // In the reply wait, before the reply has been read.
  EXPECT_NEAR(a[1].time - change, 0.32 + CatPort::kRestOfRequestWait, 1e-6);
  EXPECT_EQ(a[1].bytes, "MD2;");
  EXPECT_GT(h.now() - change, 0.32 + CatPort::kRestOfRequestWait);
}

TEST_F(CatPortTest, ARequestWithASettingKeepsItsOrderAndTheRequestsBehindIt) {
  start(2);
  h.cat.deliver("FA00007074000;FA;");
  pumpUntilTaken();
  EXPECT_TRUE(h.panel.form.gCATPending);
  EXPECT_TRUE(answers().empty()) << "nothing before the setting is carried out";
  // Queries that arrive while the setting waits for the transceiver queue
  // behind it, each text in turn.
  h.clock.scheduleIn(0.1, [&] { h.cat.deliver("MD;"); });
  h.clock.scheduleIn(0.2, [&] { h.cat.deliver("FA;"); });
  cat().CATCmd();
  EXPECT_EQ(radio().frequency, 707400);
  EXPECT_EQ(answers(), Answers{"FA00007074000;"});
  EXPECT_TRUE(h.panel.form.gCATPending);
  cat().CATCmd();
  EXPECT_EQ(answers(), (Answers{"FA00007074000;", "MD2;", "FA00007074000;"}));
  EXPECT_FALSE(h.panel.form.gCATPending);

  // With nothing queued any more, queries are answered at once again.
  h.cat.clearLog();
  h.cat.deliver("FA;");
  pumpUntilTaken();
  EXPECT_EQ(answers(), Answers{"FA00007074000;"});
}

TEST_F(CatPortTest, AFailingOpenIsShownAndNeverThrown) {
  h.panel.form.gCATSetupChanged = true;
  h.cat.setFailOpen(err::PortUnavailable);
  s().gCATPort = "2";
  EXPECT_FALSE(cat().SetUpCATPort());
  EXPECT_EQ(frm().txtInfo.text.rfind("SetUpCATPort: Err 8015. ", 0), 0u) << frm().txtInfo.text;
  EXPECT_EQ(frm().txtInCat.text, "No CAT Port");
  EXPECT_EQ(frm().txtOutCAT.text, "No CAT Port");
  EXPECT_FALSE(h.panel.form.gCATSetupChanged);

  // A port number no port can have, after a port that was open.
  h.cat.setFailOpen(0);
  openCat();
  s().gCATPort = "0";
  EXPECT_FALSE(cat().SetUpCATPort());
  EXPECT_FALSE(h.cat.isOpen());
  EXPECT_EQ(frm().txtInfo.text.rfind("SetUpCATPort: Err 8002. ", 0), 0u) << frm().txtInfo.text;
}

TEST_F(CatPortTest, QueriesAreAnsweredFromTheStateOneWriteEach) {
  start(2);
  radio().frequency = 1407400;
  radio().mode = 4;
  query();
  send("FA;MD;");
  EXPECT_EQ(answers(), (Answers{"FA00014074000;", "MD3;"}));
  // The box shows the receive's whole answer, not only its last part.
  EXPECT_EQ(frm().txtOutCAT.text, "FA00014074000;MD3;");
  send("MD;");
  EXPECT_EQ(frm().txtOutCAT.text, "MD3;");
  // A receive that answers nothing leaves the last answer on show.
  send("ID;");
  EXPECT_EQ(frm().txtOutCAT.text, "MD3;");
  EXPECT_EQ(frm().txtInCat.text, "ID;");
  EXPECT_EQ(h.written(), "") << "queries are answered without asking the transceiver";
}

TEST_F(CatPortTest, ModeAnswerFollowsTheDigitalModeThenTheTransceiverMode) {
  start(2);
  const std::pair<int, const char*> modes[] = {{1, "MD2;"}, {2, "MD1;"}, {3, "MD5;"}, {4, "MD3;"}};
  for (const auto& [mode, answer] : modes) {
    radio().mode = mode;
    query();
    h.cat.clearLog();
    send("MD;");
    EXPECT_EQ(answers(), Answers{answer}) << "mode " << mode;
  }
  const std::pair<const char*, const char*> digital[] = {{"PSK", "MDA;"}, {"FSK", "MD9;"}, {"RTTY", "MD6;"}};
  for (const auto& [dig, answer] : digital) {
    frm().cmbDig.text = dig;
    h.cat.clearLog();
    send("MD;");
    EXPECT_EQ(answers(), Answers{answer}) << dig;
  }
}

TEST_F(CatPortTest, AnythingElseGetsNoAnswerAndChangesNothing) {
  start(2);
  for (const char* request : {"FB;", "IF;", "ID;", "fa;", " FA;", "FA ;", "md;", "MD12;", "MDA;", "MD4;", "MD6;",
                              "MD0;", "FA00012345;", "FA000140740x0;", "FA10014074000;", "FA000;", "FA0;"}) {
    send(request);
    EXPECT_TRUE(answers().empty()) << request;
    EXPECT_EQ(h.written(), "") << request;
  }
  EXPECT_EQ(radio().frequency, 1425000);
  EXPECT_EQ(radio().mode, 1);
}

TEST_F(CatPortTest, FrequencySettingDropsTheHertzDigitAndIsNotAnswered) {
  start(2);
  send("FA00007074000;FA;");
  EXPECT_EQ(h.written(), "F0707400\n");
  EXPECT_EQ(radio().frequency, 707400);
  EXPECT_EQ(answers(), Answers{"FA00007074000;"}) << "the query after it sees the new frequency";

  h.radio.clearLog();
  send("FA000070740009999;");
  EXPECT_EQ(h.written(), "F0707400\n") << "characters after the twelfth are ignored";
}

TEST_F(CatPortTest, ModeSettingGoesThroughTheFirmwaresOwnCommands) {
  start(2);
  send("MD2;");
  EXPECT_EQ(h.written(), "") << "already in USB";
  send("MD1;");
  EXPECT_EQ(h.written(), "M2\nF1425000\n");
  EXPECT_EQ(radio().mode, 2);
  EXPECT_EQ(st().gMode, "M2");
  EXPECT_TRUE(answers().empty());
}

TEST_F(CatPortTest, ModeSettingStepsOnStepFirmwareAndLeavesTheDigitalModeAlone) {
  start(3);
  frm().cmbDig.text = "PSK";
  send("MD3;");
  EXPECT_EQ(radio().mode, 4);
  EXPECT_EQ(h.written(), "mmm\n");
  EXPECT_EQ(frm().cmbDig.text, "PSK");
}

TEST_F(CatPortTest, EmptyRequestsAreSkippedAndATrailingFragmentIsLost) {
  start(2);
  send(";;FA;;MD;");
  EXPECT_EQ(answers(), (Answers{"FA00014250000;", "MD2;"}));

  h.cat.clearLog();
  send("FA;MD");
  EXPECT_EQ(answers(), Answers{"FA00014250000;"});
  // Its ";" alone is below the threshold and waits; the next request then
  // arrives behind it and is answered, the lost MD is not.
  h.cat.clearLog();
  send(";");
  EXPECT_FALSE(h.panel.form.gCATPending);
  EXPECT_TRUE(answers().empty());
  send("FA;");
  EXPECT_EQ(cat().gCATInput, ";FA;");
  EXPECT_EQ(answers(), Answers{"FA00014250000;"});
}

TEST_F(CatPortTest, NothingIsAnsweredOrSentBeforeTheTransceiverIsKnown) {
  h.attachSimulator(2);
  h.openRadioPort();
  openCat();
  send("FA;MD;MD1;");
  EXPECT_TRUE(answers().empty());
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(frm().txtOutCAT.text, "");
}

TEST_F(CatPortTest, SettingsQueuedFasterThanTheTransceiverTakesThemDoNotHoldTheLoop) {
  start(2);
  // A tuning knob: only the last frequency matters.
  send("FA00007000000;FA00007010000;MD1;FA00007020000;MD3;");
  EXPECT_EQ(h.written(), "F0702000\nM4\nF0702000\n");
  EXPECT_EQ(radio().frequency, 702000);

  // A setting somebody asked about in between is carried out.
  h.radio.clearLog();
  send("FA00007030000;FA;FA00007040000;");
  EXPECT_EQ(h.written(), "F0703000\nF0704000\n");
  EXPECT_EQ(answers().back(), "FA00007030000;");

  // A flood of settings each followed by a query is cut short.
  h.radio.clearLog();
  std::string flood;
  for (int i = 0; i < 40; ++i) flood += "FA0000" + std::to_string(7100000 + i * 100) + ";FA;";
  const double before = h.now();
  send(flood);
  EXPECT_EQ(frequencyCommands(), CatPort::kMaxSettingsPerReceive);
  EXPECT_LT(h.now() - before, 5.0);
}

TEST_F(CatPortTest, LineErrorsShowComTwoErrorOtherEventsNothing) {
  openCat();
  frm().lblComStat.caption = "COM1";
  for (int code : {comm::Break, comm::EvCTS, comm::EvDSR, comm::EvCD, comm::EvRing, comm::EvEOF, comm::EvSend}) {
    h.cat.raiseLineEvent(code);
    h.panel.engine.pump();
    EXPECT_EQ(frm().lblComStat.caption, "COM1") << code;
  }
  for (int code : {comm::Frame, comm::Overrun, comm::RxOver, comm::TxFull, comm::DCB}) {
    frm().lblComStat.caption = "COM1";
    h.cat.raiseLineEvent(code);
    h.panel.engine.pump();
    EXPECT_EQ(frm().lblComStat.caption, "Com2 Error") << code;
  }
  frm().lblComStat.caption = "COM1";
  h.cat.deliverParityError();
  h.panel.engine.pump();
  EXPECT_EQ(frm().lblComStat.caption, "Com2 Error");
  EXPECT_FALSE(h.panel.form.gCATPending);
}

TEST_F(CatPortTest, AnAnswerThatCannotBeWrittenIsReportedAndTheRestStillRuns) {
  start(2);
  h.cat.deliver("FA;FA00007074000;");
  pumpUntilTaken();
  h.cat.setFailIo(err::DeviceIoError);
  EXPECT_NO_THROW(cat().CATCmd());
  EXPECT_EQ(frm().txtInfo.text.rfind("CATCmd: Err 57. ", 0), 0u) << frm().txtInfo.text;
  EXPECT_EQ(radio().frequency, 707400);
}

TEST_F(CatPortTest, GarbageNeverReachesEitherPortAsAnythingUndefined) {
  start(2);
  std::mt19937 rng(3817);
  const std::string alphabet = std::string("FAMD0123456789;; \0\xff\r\n", 22);
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const int n = 1 + static_cast<int>(rng() % 40);
    for (int i = 0; i < n; ++i)
      bytes += rng() % 4 ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng() % 256);
    send(bytes);
  }
  send(std::string(4096, 'F'));
  for (const auto& a : answers()) {
    const bool fa = a.size() == 14 && a.rfind("FA000", 0) == 0 && a.substr(12) == "0;";
    const bool md = a.size() == 4 && a.rfind("MD", 0) == 0 && std::string("1235A96").find(a[2]) != std::string::npos;
    EXPECT_TRUE(fa || md) << a;
  }
  const std::string radioText = h.written();
  ASSERT_TRUE(radioText.empty() || radioText.back() == '\n');
  for (const std::string& line : lines(radioText)) {
    const bool freq = line.size() == 8 && line[0] == 'F' && line.find_first_not_of("0123456789", 1) == std::string::npos;
    const bool mode = line.size() == 2 && line[0] == 'M' && line[1] >= '1' && line[1] <= '4';
    EXPECT_TRUE(freq || mode) << line;
  }
  // Still answering afterwards.
  h.cat.clearLog();
  send("FA;");
  EXPECT_EQ(answers().size(), 1u);
}

TEST_F(CatPortTest, TheMonitorShowsWhatThePortIgnoredWithTheHint) {
  start(2);
  EXPECT_FALSE(frm().lblCatIgnored.visible);
  EXPECT_FALSE(frm().lblCatHint.visible);
  send("ID;IF;FA;ID;AI0");
  EXPECT_EQ(answers().size(), 1u);
  EXPECT_EQ(frm().lblCatIgnored.caption, "ignored: ID; IF;");
  EXPECT_TRUE(frm().lblCatIgnored.visible);
  EXPECT_TRUE(frm().lblCatHint.visible);
  EXPECT_NE(frm().lblCatHint.caption.find("network rig server"), std::string::npos);
  // Requests that are answered leave the last ignored ones on show.
  send("FA;MD;");
  EXPECT_EQ(frm().lblCatIgnored.caption, "ignored: ID; IF;");
  // A program's probes arrive over several receives: the list keeps the
  // distinct ones of the last seconds, the latest last.
  send("AI0;");
  send("PS;");
  send("FB;ID;");
  EXPECT_EQ(frm().lblCatIgnored.caption, "ignored: IF; AI0; PS; FB; ID;");
  for (int i = 0; i < 12; ++i) h.panel.engine.pump(1.0);
  send("fa;");
  EXPECT_EQ(frm().lblCatIgnored.caption, "ignored: fa;");
}

TEST(CatMonitorText, StaysShortAndPrintable) {
  EXPECT_EQ(ignoredCatRequestsText({"ID", "IF"}), "ignored: ID; IF;");
  EXPECT_EQ(ignoredCatRequestsText({std::string("K\x01\xff", 3)}), "ignored: K??;");
  EXPECT_EQ(ignoredCatRequestsText({"ABCDEFGHIJKLMNOP"}), "ignored: ABCDEFGHIJKL...;");
  const std::vector<std::string> many = {"A1", "A2", "A3", "A4", "A5", "A6", "A7"};
  EXPECT_EQ(ignoredCatRequestsText(many), "ignored: A1; A2; A3; A4; A5; A6; ...");
  EXPECT_EQ(ignoredCatRequests("ID;;FA;IF;ID;MD;MD9;XX"), (std::vector<std::string>{"ID", "IF", "MD9"}));
}

}  // namespace
}  // namespace zr::test
