// The whole program in steady service, in virtual time: what arrives on the
// radio port while the loop is idle is acted on at once, not after the
// loop's sleep until the next sync.
#include <gtest/gtest.h>

#include <functional>

#include "core/SerialPort.h"
#include "support/EngineHarness.h"
#include "support/TempWorkDir.h"

namespace zr::test {
namespace {

class PromptDisplayTest : public ::testing::Test {
 protected:
  PromptDisplayTest() {
    TempWorkDir::write("PortSetup.txt", "1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n");
    h.attachSimulator(2);
  }
  // Runs `f` 0.6 s after a sync in steady service (its reply read), when a pass that slept
  // until the next sync would sleep longest; `at_` is when.
  void afterSync(std::function<void()> f) {
    h.clock.scheduleAt(18, [this, f] {
      double last = 0;
      for (const auto& w : h.writes())
        if (w.bytes == "U" || w.bytes == "K") last = w.time;
      at_ = last + 2.6;
      while (at_ < h.now()) at_ += 2.0;
      h.clock.scheduleAt(at_, f);
    });
  }
  void reportAfterSync(const std::string& bytes) {
    afterSync([this, bytes] { h.radio.deliver(bytes); });
  }
  // Looks every 5 ms from 18 s on for `holds`; `t` gets the first time it did.
  void watch(double& t, std::function<bool()> holds) {
    for (int i = 0; i < 800; ++i)
      h.clock.scheduleAt(18 + i * 0.005, [this, &t, holds] {
        if (t < 0 && holds()) t = h.now();
      });
  }
  std::string vfoA() {
    std::string s;
    for (const auto& c : frm().cmdF) s += c.caption;
    return s;
  }
  double firstWrite(const std::string& bytes, double from) {
    for (const auto& w : h.writes())
      if (w.bytes == bytes && w.time >= from) return w.time;
    return -1;
  }
  MainWindowModel& frm() { return h.panel.frm; }
  TransceiverState& st() { return h.panel.st; }

  TempWorkDir dir;
  EngineHarness h;
  double at_ = -1;
};

TEST_F(PromptDisplayTest, AFrequencyReportIsShownRightAfterItIsDecoded) {
  reportAfterSync("F1412345\n");
  double decoded = -1, shown = -1;
  watch(decoded, [&] { return st().gFreqCmd == "F1412345"; });
  watch(shown, [&] { return vfoA() == "1412345"; });
  h.runUntilClosedAt(24);
  ASSERT_GT(decoded, 0);
  ASSERT_GT(shown, 0);
  EXPECT_LE(shown - decoded, 0.05);
  RecordProperty("decode_to_display_ms", std::to_string(static_cast<int>((shown - decoded) * 1000)));
}

TEST_F(PromptDisplayTest, OutOfBandIsShownAfterOnlyThePttDisable) {
  reportAfterSync("F0900000\n");
  double decoded = -1, disabled = -1, shown = -1;
  watch(decoded, [&] { return st().gFreqCmd == "F0900000"; });
  watch(disabled, [&] { return !frm().cmdXmit.enabled && !frm().cmdPTT.enabled; });
  watch(shown, [&] { return frm().lblInBand.caption == "Out Of Band"; });
  h.runUntilClosedAt(24);
  ASSERT_GT(decoded, 0);
  ASSERT_GT(shown, 0);
  EXPECT_LE(disabled - decoded, 0.05);
  // The transceiver's PTT is disabled first: one command and its reply.
  const double pttOff = firstWrite("'0\n", at_);
  ASSERT_GT(pttOff, 0);
  EXPECT_LE(pttOff - decoded, 0.05);
  EXPECT_LE(shown - pttOff, 0.2 + 0.1 + 0.05);
}

TEST_F(PromptDisplayTest, ALatchedXmtMadeIllegalByAReportIsUnkeyedInTheSamePass) {
  h.clickAt(10, "cmdXmit");
  reportAfterSync("F0900000\n");
  double decoded = -1;
  watch(decoded, [&] { return st().gFreqCmd == "F0900000"; });
  h.runUntilClosedAt(24);
  ASSERT_GT(decoded, 0);
  ASSERT_GT(firstWrite("K", 10), 0) << "never keyed";
  const double unkey = firstWrite("U", at_);
  ASSERT_GT(unkey, 0);
  // Display with the PTT disable and its reply, the dispatch, then the
  // unkey: no sleep in between.
  EXPECT_LE(unkey - decoded, 0.2 + 0.1 + 0.05);
  EXPECT_EQ(frm().cmdXmit.caption, "&XMT ON");
  EXPECT_FALSE(h.simulator().model().state().transmitting);
}

// As marked bytes on a real port do, a break or parity error through the
// fake wakes the idle pass.
TEST_F(PromptDisplayTest, ABreakRestartsTheQueryAfterOnlyItsPause) {
  afterSync([&] { h.radio.raiseLineEvent(comm::Break); });
  h.runUntilClosedAt(24);
  const double query = firstWrite("?\n", at_);
  ASSERT_GT(query, 0);
  EXPECT_LE(query - at_, 0.5 + 0.05);
}

TEST_F(PromptDisplayTest, AParityErrorIsShownAsItArrives) {
  std::string status;
  afterSync([&] {
    h.radio.deliverParityError();
    h.clock.scheduleIn(0.01, [&] { status = frm().lblComStat.caption; });
  });
  h.runUntilClosedAt(24);
  EXPECT_EQ(status, "Com Error");
}

}  // namespace
}  // namespace zr::test
