// The band list window against the simulated transceiver: what opening it
// shows, the exact commands a chosen row sends on each firmware, the error
// state, Get Freq and Sort, the timer's sync while it is open, and every
// way out.
#include <gtest/gtest.h>

#include <filesystem>

#include "BandSelectHarness.h"

namespace zr::test {
namespace {

class BandSelectTest : public ::testing::Test, public BandSelectHarness {};

TEST_F(BandSelectTest, OpensTheBandsFileWithTheLastRowFromTheTransceiver) {
  ASSERT_TRUE(connect(2, 1425000, 1));
  std::string file = "7.074   LSB  FT8  calling  \r\n3.5 CW\r\n\r\n";
  for (int i = 3; i < 20; ++i) file += "7." + std::to_string(i) + " USB line " + std::to_string(i) + "\r\n";
  TempWorkDir::write("M40List.txt", file);
  bool mainDisabled = false;
  duringAt(0.5, [&] { mainDisabled = !frm().window.enabled && m().window.visible; });
  open("40", 2.0);

  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(frm().window.enabled);
  EXPECT_EQ(m().window.caption, std::filesystem::current_path().string() + "/M40List.txt");
  EXPECT_EQ(m().fraBand.caption, "40 Meters");
  EXPECT_EQ(m().row(0), (ListRow{"7.074", "LSB", "FT8  calling  "}));
  EXPECT_EQ(m().row(2), ListRow{});
  EXPECT_EQ(m().row(3).note, "line 3");
  EXPECT_EQ(m().row(12).note, "line 12");
  // The 14th line keeps only its note; lines after it are ignored.
  EXPECT_EQ(m().row(13), (ListRow{"14.25000", "USB", "line 13"}));

  typeAt(0.5, "txtInfo", 0, "edited, never written");
  open("40", 1.0);
  EXPECT_EQ(m().row(0).note, "edited, never written");
  open("40", 1.0);  // each opening reads the file again
  EXPECT_EQ(m().row(0).note, "FT8  calling  ");
}

TEST_F(BandSelectTest, ABandWithoutAFileOpensEmpty) {
  ASSERT_TRUE(connect(2, 1000000, 3));
  open("WWV", 1.0);
  EXPECT_EQ(m().fraBand.caption, "WWV");
  EXPECT_EQ(m().window.caption, "Frequency Select");
  for (int i = 0; i < 13; ++i) EXPECT_EQ(m().row(i), ListRow{}) << i;
  EXPECT_EQ(m().row(13), (ListRow{"10.00000", "AME", ""}));
  EXPECT_EQ(frm().txtInfo.text, "fileExists(WWVList.txt): Err 53. File not found");
}

class BandRowWire : public BandSelectTest, public ::testing::WithParamInterface<std::pair<int, const char*>> {};

TEST_P(BandRowWire, ChosenRowSendsItsFrequencyThenItsModeOnly) {
  const auto [firmware, modeCommand] = GetParam();
  ASSERT_TRUE(connect(firmware, 1425000, 1));
  TempWorkDir::write("M40List.txt", "7.074 lsb FT8  calling\r\n7.0745\r\n7.1 FM\r\n");
  clickAt(0.5, "Option1", 0);
  open("40", 2.5);
  EXPECT_EQ(h.written(), std::string("F0707400\n") + modeCommand);
  EXPECT_EQ(h.simulator().model().state().frequency, 707400);
  EXPECT_EQ(h.simulator().model().state().mode, 2);
  EXPECT_EQ(vfoA(), "0707400");
  EXPECT_EQ(frm().cmbMode.text, "LSB");
  EXPECT_EQ(frm().lblInfo.caption, "FT8  calling");
  EXPECT_EQ(frm().lblComStat.caption, "Com OK");

  // No mode name, or one the transceiver does not know: the mode stays.
  h.radio.clearLog();
  clickAt(0.5, "Option1", 1);
  clickAt(2.0, "Option1", 2);
  open("40", 3.0);
  EXPECT_EQ(h.written(), "F0707450\nF0710000\n");
  EXPECT_EQ(h.simulator().model().state().mode, 2);
}

INSTANTIATE_TEST_SUITE_P(Firmware, BandRowWire,
                         ::testing::Values(std::pair{1, "M\n"}, std::pair{2, "M2\nF0707400\n"},
                                           std::pair{3, "m\n"}));

TEST_F(BandSelectTest, OutOfRangeRowsShowFrequencyErrorAndSendNothing) {
  ASSERT_TRUE(connect());
  TempWorkDir::write("M40List.txt", "35.0 USB\r\n1.5 USB\r\nnet USB\r\n7.1 USB\r\n");
  for (int row = 0; row < 3; ++row) {
    clickAt(0.5, "Option1", row);
    clickAt(0.6, "cmdSort");  // disabled: dropped
    duringAt(0.7, [&, row] {
      EXPECT_TRUE(h.written().empty()) << row;
      EXPECT_TRUE(m().lblError.visible);
      EXPECT_EQ(m().lblError.caption, "Frequency Error");
      EXPECT_EQ(m().lblError.foreColor, colours::Red);
      EXPECT_EQ(m().txtFreq[row].foreColor, colours::Red);
      EXPECT_FALSE(m().Option1[row].selected());
      EXPECT_FALSE(m().cmdGetFreq.enabled || m().cmdSort.enabled || m().cmdWriteFile.enabled);
      EXPECT_EQ(m().row(0).freq, "35.0");
    });
    clickAt(0.8, "Option1", 5);  // an empty row changes nothing
    duringAt(0.9, [&] { EXPECT_TRUE(m().lblError.visible); });
    clickAt(1.0, "Option1", 3);
    open("40", 2.0);
    EXPECT_EQ(h.written(), "F0710000\n");
    EXPECT_FALSE(m().lblError.visible);
    EXPECT_EQ(m().txtFreq[3].foreColor, colours::WindowText);
    EXPECT_TRUE(m().cmdGetFreq.enabled && m().cmdSort.enabled && m().cmdWriteFile.enabled);
    h.radio.clearLog();
  }
}

TEST_F(BandSelectTest, GetFreqCopiesOnlyAFrequencyTheTransceiverReported) {
  TempWorkDir::write("M20List.txt", std::string(13, '\n') + "14.1 CW kept\n");
  open("20", 1.0);
  EXPECT_EQ(m().row(13), (ListRow{"14.1", "CW", "kept"}));

  h.panel.st.gFreqCmd = "F0707400";
  h.panel.st.gMode = "M4";
  clickAt(0.5, "cmdGetFreq");
  open("20", 1.0);
  EXPECT_EQ(m().row(13), (ListRow{"7.07400", "CW", "kept"}));
}

TEST_F(BandSelectTest, SortKeepsRowsWithoutAFrequency) {
  ASSERT_TRUE(connect(2, 1425000, 1));
  TempWorkDir::write("M20List.txt", "14.2 USB first\r\n\r\n7.1 LSB x\r\n14.2 USB second\r\nnet USB Sunday\r\n");
  clickAt(0.5, "cmdSort");
  open("20", 1.0);
  const char* notes[] = {"x", "second", "first", "", "Sunday"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m().row(i).note, notes[i]) << i;
  EXPECT_EQ(m().row(3).freq, "14.25000");
  EXPECT_EQ(m().row(5), ListRow{});
}

TEST_F(BandSelectTest, TimerSyncsAboutEveryThreeSecondsAndShowsWhatArrives) {
  ASSERT_TRUE(connect());
  int noCom = 0;
  for (int i = 1; i < 200; ++i) duringAt(i * 0.1, [&] { noCom += frm().lblComStat.caption != "Com OK"; });
  duringAt(10.0, [&] { h.simulator().sendGarbage("F0700000\n"); });
  open("160", 20.0);

  std::vector<double> syncs;
  for (const WireEntry& w : h.writes())
    if (w.bytes == "U") syncs.push_back(w.time);
  ASSERT_GE(syncs.size(), 5u);
  for (std::size_t i = 1; i < syncs.size(); ++i) {
    EXPECT_GE(syncs[i] - syncs[i - 1], 3.1 - 1e-6);
    EXPECT_LE(syncs[i] - syncs[i - 1], 3.4);
  }
  EXPECT_EQ(noCom, 0);
  EXPECT_EQ(vfoA(), "0700000");
}

TEST_F(BandSelectTest, EveryWayOutStopsTheTimerAndEnablesTheMainWindow) {
  ASSERT_TRUE(connect());
  auto closed = [&] { return frm().window.enabled && !m().window.visible && !m().SyncTimer.enabled; };
  open("75", 1.0);
  EXPECT_TRUE(closed());

  duringAt(1.0, [&] {
    InputEvent close;
    close.window = BandSelectWindowModel::kName;
    close.kind = EventKind::Close;
    h.panel.engine.post(close);
  });
  run("75");
  EXPECT_TRUE(closed());

  duringAt(1.0, [&] { h.panel.engine.requestQuit(); });
  EXPECT_THROW(run("75"), ProgramEnd);
  EXPECT_TRUE(closed());
}

TEST_F(BandSelectTest, RetuneFromTheListEndsChannelOperation) {
  ASSERT_TRUE(connect(2, 1425000, 1));
  h.panel.channels().optChan_Click(0);
  ASSERT_TRUE(h.panel.form.txActive);
  TempWorkDir::write("M40List.txt", "7.074 LSB\r\n");
  clickAt(0.5, "Option1", 0);
  open("40", 2.0);
  EXPECT_FALSE(h.panel.form.txActive);
  h.radio.clearLog();
  // "Use VFO" must not tune back to 14 250.00 kHz over the operator's choice.
  h.panel.channels().optChan_Click(1);
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(h.simulator().model().state().frequency, 707400);
}

TEST_F(BandSelectTest, NoRetuneWhileTheTransmitterIsKeyed) {
  ASSERT_TRUE(connect());
  h.panel.st.gKeyCmd = "K";
  TempWorkDir::write("M40List.txt", "7.074 LSB\r\n");
  clickAt(0.5, "Option1", 0);
  open("40", 1.0);
  EXPECT_EQ(h.written(), "");
  EXPECT_EQ(h.host.beeps, 1);
  EXPECT_FALSE(m().Option1[0].selected());
}

}  // namespace
}  // namespace zr::test
