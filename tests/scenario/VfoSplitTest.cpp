// VFO B, copy, swap and split against the simulated transceiver: the one
// write a swap makes on each firmware, and what the panel shows afterwards.
#include <gtest/gtest.h>

#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "panel/VfoSplit.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

class VfoSplitTest : public ::testing::Test {
 protected:
  // VFO A 14 250.00 kHz USB as reported; VFO B 7 100.00 kHz `modeB`.
  void start(int firmware, const std::string& modeB = "LSB") {
    h.connect(firmware);
    h.panel.link().gSendCommand("?", true, 0.6);
    h.panel.link().gReadResponse();
    ASSERT_TRUE(st().gResponseComplete);
    h.panel.display().gUpdateDisplay();
    ASSERT_EQ(row(frm().cmdF), "1425000");
    ASSERT_EQ(frm().cmbMode.text, "USB");
    setRow(frm().cmdVFOB, "0710000");
    frm().cmbVFOBMode.text = modeB;
    h.radio.clearLog();
  }
  void click(const std::string& control, int index = -1) {
    InputEvent e;
    e.window = frm().name();
    e.control = control;
    e.index = index;
    e.kind = EventKind::Click;
    h.panel.engine.post(e);
    h.panel.engine.pump();
  }
  // The service loop's read of the answer and the redraw that follows.
  void serviceLoopReads() {
    if (h.radio.inBufferCount() > 0) h.panel.link().gReadResponse();
    h.panel.display().gUpdateDisplay();
  }
  static std::string row(const std::array<Control, 7>& digits) {
    std::string s;
    for (const auto& d : digits) s += d.caption;
    return s;
  }
  static void setRow(std::array<Control, 7>& digits, const std::string& text) {
    for (std::size_t i = 0; i < 7; ++i) digits[i].caption = std::string(1, text[i]);
  }
  TransceiverState& st() { return h.panel.st; }
  MainWindowModel& frm() { return h.panel.frm; }

  EngineHarness h;
  VfoSplit vfo{h.panel};
};

TEST_F(VfoSplitTest, SplitIsRefusedWhileTheModesDiffer) {
  start(2, "CW");
  click("optTXVFO", 1);
  EXPECT_EQ(h.host.messages, std::vector<std::string>{"Modes must be same for Split"});
  EXPECT_EQ(frm().lblSplit.caption, "Split Off");
  EXPECT_EQ(frm().optTXVFO[0].value, 1);
  EXPECT_EQ(frm().optTXVFO[1].value, 0);

  frm().cmbVFOBMode.text = "USB";
  click("optTXVFO", 1);
  EXPECT_EQ(frm().lblSplit.caption, "Split On");
  EXPECT_EQ(frm().optTXVFO[1].value, 1);
  click("optTXVFO", 0);
  EXPECT_EQ(frm().lblSplit.caption, "Split Off");
  EXPECT_EQ(h.host.messages.size(), 1u);
  EXPECT_EQ(h.written(), "");
}

TEST_F(VfoSplitTest, AToBCopiesTheDigitsOnly) {
  start(1);
  click("cmdA2B");
  ASSERT_TRUE(vfo.a2bPending);
  EXPECT_EQ(row(frm().cmdVFOB), "0710000");
  vfo.a2bCmd();
  EXPECT_FALSE(vfo.a2bPending);
  EXPECT_EQ(row(frm().cmdVFOB), "1425000");
  EXPECT_EQ(frm().cmbVFOBMode.text, "LSB");
  EXPECT_EQ(h.written(), "");
}

class SwapPerFirmware : public VfoSplitTest, public ::testing::WithParamInterface<std::pair<int, const char*>> {};

TEST_P(SwapPerFirmware, OneWriteOfModeAndFrequencyThenTheRadioFollows) {
  const auto [firmware, mode] = GetParam();
  start(firmware);
  click("cmdSwap");
  ASSERT_TRUE(vfo.swapPending);
  EXPECT_EQ(h.written(), "");
  const double before = h.now();
  vfo.swapCmd();
  EXPECT_FALSE(vfo.swapPending);
  EXPECT_NEAR(h.now() - before, 0.4, 1e-6);
  const auto w = h.writes();
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(w[0].bytes, std::string(mode) + "\nF0710000\n");
  EXPECT_NEAR(w[0].time, before, 1e-9);
  EXPECT_EQ(row(frm().cmdF), "0710000");
  EXPECT_EQ(row(frm().cmdVFOB), "1425000");
  EXPECT_EQ(frm().cmbVFOBMode.text, "USB");
  // The mode list follows only once the transceiver reports it.
  EXPECT_EQ(frm().cmbMode.text, "USB");
  serviceLoopReads();
  EXPECT_EQ(frm().cmbMode.text, "LSB");
  EXPECT_EQ(row(frm().cmdF), "0710000");
  EXPECT_EQ(h.simulator().model().state().frequency, 710000);
  EXPECT_EQ(h.simulator().model().state().mode, 2);
}
INSTANTIATE_TEST_SUITE_P(Firmware, SwapPerFirmware,
                         ::testing::Values(std::pair{1, "M"}, std::pair{2, "M2"}, std::pair{3, "m"}));

TEST_F(VfoSplitTest, SwapWithEqualModesSendsTheFrequencyOnlyAndSwapsBack) {
  start(3, "USB");
  vfo.swapCmd();
  EXPECT_EQ(h.written(), "F0710000\n");
  serviceLoopReads();
  vfo.swapCmd();
  EXPECT_EQ(h.written(), "F0710000\nF1425000\n");
  EXPECT_EQ(row(frm().cmdF), "1425000");
  EXPECT_EQ(row(frm().cmdVFOB), "0710000");
}

TEST_F(VfoSplitTest, SwapRefusesAVfoBThatIsNoFrequencyAndStepsToNoUnknownMode) {
  start(1, "");
  for (const char* bad : {"07 0000", "0000000", "3000000"}) {
    setRow(frm().cmdVFOB, bad);
    const int beeps = h.host.beeps;
    vfo.swapCmd();
    EXPECT_EQ(h.written(), "") << bad;
    EXPECT_EQ(h.host.beeps, beeps + 1) << bad;
    EXPECT_EQ(row(frm().cmdF), "1425000") << bad;
  }
  // A VFO B mode that names no mode is taken over but not stepped to.
  setRow(frm().cmdVFOB, "0710000");
  vfo.swapCmd();
  EXPECT_EQ(h.written(), "F0710000\n");
  EXPECT_EQ(frm().cmbVFOBMode.text, "USB");
}

}  // namespace
}  // namespace zr::test
