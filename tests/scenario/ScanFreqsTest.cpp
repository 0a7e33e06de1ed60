// The frequency-list scanner against the simulated transceiver in virtual
// time: the rows it visits and what it sends for them, the dwell box, and
// "ScanFreqs.txt".
#include <filesystem>

#include "core/MainMenus.h"
#include "lists/ScanFreqs.h"
#include "ScanFixture.h"

namespace zr::test {
namespace {

const std::string kWin = "frmScanFreqs";

std::string fileOf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

class ScanFreqsTest : public ScanFixture {
 protected:
  ScanFreqsTest() {
    TempWorkDir::write("ScanFreqs.txt", fileOf({"7.1 USB forty metres", "3.6 LSB not ticked", "14.2 lsb  twenty",
                                                "", "14.2a USB typo", "", "", "", "", "", "", "", "", "3"}));
  }
  // Opens the scanner, ticks `rows` and starts the scan at `start`.
  void scan(double start, std::initializer_list<int> rows) {
    click(kOpenAt, "frmZR3817", "mnuScanFreqs");
    double t = kOpenAt + 0.5;
    for (int r : rows) tick(t += 0.1, kWin, "Check1", r);
    click(start, kWin, "cmdScan");
  }
  ScanFreqsWindowModel& win() { return h.panel.menus().scanFreqs().model(); }
  std::vector<std::string> commandsWithoutSync(double from) {
    std::vector<std::string> out;
    for (const auto& s : sent(from))
      if (s.text != "U") out.push_back(s.text);
    return out;
  }
};

TEST_F(ScanFreqsTest, AlternatesTheTickedRowsWithTheirModesAndKeepsTheSyncDuringTheDwell) {
  std::string noteOnRow2, delayShown;
  Colour row2Colour = 0;
  scan(12, {0, 2});
  at(17.5, [&] {
    noteOnRow2 = frm().lblInfo.caption;
    row2Colour = win().Check1[2].backColor;
    delayShown = win().txtDelay.text;
  });
  click(30, kWin, "cmdStop");
  runUntil(31);

  const std::vector<std::string> expected = {"F0710000", "M2", "F0710000", "F1420000", "M1",
                                             "F1420000", "F0710000", "M2",       "F0710000", "F1420000"};
  const auto got = commandsWithoutSync(12);
  ASSERT_GE(got.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + expected.size()), expected);
  // Three seconds on each row plus the mode change and the confirmation.
  const auto freqs = sent(12, "F");
  EXPECT_GT(freqs[2].time - freqs[0].time, 3.3);
  EXPECT_LT(freqs[2].time - freqs[0].time, 4.0);
  // The sync goes on during every dwell.
  for (std::size_t i : {0u, 2u}) {
    int syncs = 0;
    for (const auto& s : sent(freqs[i].time, "U"))
      if (s.time < freqs[i].time + 3) ++syncs;
    EXPECT_GE(syncs, 1) << i;
  }
  EXPECT_EQ(noteOnRow2, "twenty");
  EXPECT_EQ(row2Colour, colours::Red);
  EXPECT_EQ(delayShown, "1");  // seconds counted on the row
  EXPECT_TRUE(win().cmdScan.visible);
  EXPECT_FALSE(win().cmdStop.visible);
  EXPECT_EQ(win().txtDelay.text, "3");
  for (const Control& c : win().Check1) EXPECT_EQ(c.backColor, ScanFreqsWindowModel::kRowIdle);
}

TEST_F(ScanFreqsTest, ARowThatIsNotAFrequencyStopsTheScanAndStaysMarked) {
  scan(12, {0, 4});
  runUntil(20);
  EXPECT_TRUE(win().lblError.visible);
  EXPECT_EQ(win().Check1[4].backColor, colours::Red);
  EXPECT_EQ(win().Check1[0].backColor, ScanFreqsWindowModel::kRowIdle);
  EXPECT_TRUE(win().cmdScan.visible);
  EXPECT_EQ(ScanFixture::texts(sent(12, "F")), std::vector<std::string>{"F0710000"});
}

TEST_F(ScanFreqsTest, AnEmptyTickedRowEndsTheScanSilently) {
  scan(12, {0, 3});
  runUntil(20);
  EXPECT_FALSE(win().lblError.visible);
  EXPECT_TRUE(win().cmdScan.visible);
  EXPECT_EQ(ScanFixture::texts(sent(12, "F")), std::vector<std::string>{"F0710000"});
}

TEST_F(ScanFreqsTest, NoRowTickedReturnsAtOnce) {
  scan(12, {});
  runUntil(13);
  EXPECT_TRUE(win().cmdScan.visible);
  EXPECT_TRUE(sent(12, "F").empty());
}

TEST_F(ScanFreqsTest, DwellTextIsReadAsWholeSecondsWithinLimits) {
  std::string zero, huge;
  scan(11, {3});  // an empty row: each scan ends after reading the dwell
  type(11.5, kWin, "txtDelay", "0");
  click(12, kWin, "cmdScan");
  at(12.5, [&] { zero = win().txtDelay.text; });
  type(13, kWin, "txtDelay", "99999");
  click(13.5, kWin, "cmdScan");
  at(14, [&] { huge = win().txtDelay.text; });
  tick(14.5, kWin, "Check1", 3, false);
  tick(14.6, kWin, "Check1", 0);
  type(15, kWin, "txtDelay", "5s");
  click(15.5, kWin, "cmdScan");
  click(26, kWin, "cmdStop");
  runUntil(27);
  EXPECT_EQ(zero, "1");
  EXPECT_EQ(huge, "32767");
  const auto freqs = sent(15.5, "F");
  ASSERT_GE(freqs.size(), 2u);
  EXPECT_GT(freqs[1].time - freqs[0].time, 5.0);
  EXPECT_LT(freqs[1].time - freqs[0].time, 5.5);
}

TEST_F(ScanFreqsTest, ADwellTypedDuringTheScanTakesEffectOnTheNextCycle) {
  scan(12, {0});
  type(13.2, kWin, "txtDelay", "6");
  click(14, kWin, "cmdWriteFile");  // in the dwell: the box counts seconds
  click(40, kWin, "cmdStop");
  runUntil(41);
  const auto freqs = sent(12, "F");
  ASSERT_GE(freqs.size(), 3u);
  EXPECT_LT(freqs[1].time - freqs[0].time, 3.5) << "this cycle keeps its dwell";
  EXPECT_GT(freqs[2].time - freqs[1].time, 6.0) << "the next one takes the typed dwell";
  EXPECT_EQ(h.panel.menus().scanFreqs().scanDelay(), 6);
  const std::string file = TempWorkDir::read("ScanFreqs.txt");
  EXPECT_EQ(file.substr(file.rfind("\r\n", file.size() - 3) + 2), "6\r\n");
}

TEST_F(ScanFreqsTest, RowsAndDwellAreReadOnOpeningAndWrittenExactly) {
  std::string row2Mode, row2Note, delay;
  click(kOpenAt, "frmZR3817", "mnuScanFreqs");
  at(kOpenAt + 1, [&] {
    row2Mode = win().txtMode[2].text;
    row2Note = win().txtInfo[2].text;
    delay = win().txtDelay.text;
  });
  type(kOpenAt + 2, kWin, "txtInfo", "hf net", 5);
  type(kOpenAt + 2.1, kWin, "txtFreq", "10.1", 5);
  type(kOpenAt + 2.2, kWin, "txtDelay", "4");
  click(kOpenAt + 3, kWin, "cmdWriteFile");
  runUntil(kOpenAt + 4);
  EXPECT_EQ(row2Mode, "lsb");
  EXPECT_EQ(row2Note, "twenty");
  EXPECT_EQ(delay, "3");
  EXPECT_EQ(TempWorkDir::read("ScanFreqs.txt"),
            fileOf({"7.1 USB forty metres", "3.6 LSB not ticked", "14.2 lsb twenty", "  ", "14.2a USB typo",
                    "10.1  hf net", "  ", "  ", "  ", "  ", "  ", "  ", "  ", "4"}));
}

TEST_F(ScanFreqsTest, AShortFileKeepsTheDwellAndAFailedWriteIsReported) {
  TempWorkDir::write("ScanFreqs.txt", fileOf({"7.1 USB", "not a dwell line"}));
  std::string delay, row1;
  click(kOpenAt, "frmZR3817", "mnuScanFreqs");
  at(kOpenAt + 1, [&] {
    delay = win().txtDelay.text;
    row1 = win().txtFreq[1].text;
    std::filesystem::remove("ScanFreqs.txt");
    std::filesystem::create_directory("ScanFreqs.txt");  // cannot be replaced by a file
  });
  click(kOpenAt + 2, kWin, "cmdWriteFile");
  runUntil(kOpenAt + 3);
  EXPECT_EQ(delay, "3");
  EXPECT_EQ(row1, "not");
  EXPECT_EQ(frm().txtInfo.text.rfind("ScanFreqs.txt: Err ", 0), 0u) << frm().txtInfo.text;
  EXPECT_TRUE(frm().txtInfo.visible);
}

TEST_F(ScanFreqsTest, ClosingInTheDwellEndsTheScanAndTheWindowStaysClosed) {
  scan(12, {0, 2});
  closeAt(14.3, kWin);
  const auto closedAt = firstTime(14.31, 16, [&] { return frm().window.enabled; });
  runUntil(20);
  EXPECT_GT(*closedAt, 14.3);
  EXPECT_LT(*closedAt, 14.4);
  EXPECT_FALSE(win().window.visible);
  EXPECT_FALSE(h.panel.st.gScanning);
  EXPECT_TRUE(win().cmdScan.visible);
  EXPECT_EQ(win().txtDelay.text, "3");
  EXPECT_TRUE(sent(14.4, "F").empty());
}

class ScanFreqsResendTest : public ScanFreqsTest, public ::testing::WithParamInterface<std::tuple<double, bool>> {};

TEST_P(ScanFreqsResendTest, StopOrCloseDuringTheResendsEndsTheScanAtOnce) {
  const auto [offset, close] = GetParam();
  h.simulator().model().refuseFrequencies(710000, 710000);
  scan(12, {0, 2});
  InputEvent e;
  e.window = kWin;
  if (close)
    e.kind = EventKind::Close;
  else
    e.control = "cmdStop";
  const auto stop = interruptAfter("F0710000", 12, offset, e, [&] {
    return close ? frm().window.enabled : win().cmdScan.visible;
  });
  runUntil(16);
  ASSERT_GE(stop->at, 0) << "the refused frequency was never sent";
  ASSERT_GE(stop->takenAt, 0) << "the scan did not end";
  RecordProperty("seconds_to_end", std::to_string(stop->takenAt - stop->at));
  EXPECT_LE(stop->takenAt - stop->at, 0.1);
  EXPECT_EQ(frequencyTrafficAfter(stop->at), std::vector<std::string>{});
  EXPECT_EQ(win().window.visible, !close);
}

INSTANTIATE_TEST_SUITE_P(Moments, ScanFreqsResendTest,
                         ::testing::Combine(::testing::Values(0.02, 0.11, 0.19, 0.28, 0.35), ::testing::Bool()));

TEST_F(ScanFreqsTest, EndingTheProgramMidScanStillRunsTheEndSteps) {
  scan(12, {0, 2});
  runUntil(13.5);
  EXPECT_TRUE(win().cmdScan.visible);
  EXPECT_FALSE(win().cmdStop.visible);
  EXPECT_EQ(win().txtDelay.text, "3");
  EXPECT_FALSE(h.panel.st.gScanning);
}

}  // namespace
}  // namespace zr::test
