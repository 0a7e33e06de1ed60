// A band scan left running for an hour of virtual time: the panel's own
// structures and the engine's queues stay the same size, and the wire shows
// the same pattern from the first minute to the last.
#include <chrono>
#include <cstdio>
#include <fstream>

#include "core/MainMenus.h"
#include "lists/ScanFrequency.h"
#include "ScanFixture.h"

namespace zr::test {
namespace {

const std::string kWin = "frmScanBands";

struct Footprint {
  std::size_t modelBytes = 0;   // every text of every window model
  std::size_t response = 0;     // the link's last reply
  std::size_t inputWaiting = 0;  // radio port bytes not yet read
  std::size_t engineInput = 0;
  std::size_t clockEvents = 0;  // timers of the simulator and the link
};

long residentKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * 4;
}

class ScanSoakTest : public ScanFixture {
 protected:
  Footprint footprint() {
    Footprint f;
    h.panel.engine.publish();
    for (const auto& w : h.host.latest->windows)
      w->forEachControl([&](const Control& c) {
        f.modelBytes += c.caption.size() + c.text.size() + c.toolTip.size();
        for (const auto& item : c.items) f.modelBytes += item.size();
      });
    f.response = h.panel.st.gResponse.size();
    f.inputWaiting = static_cast<std::size_t>(h.radio.inBufferCount());
    f.engineInput = h.panel.engine.pendingInput();
    f.clockEvents = h.clock.pendingEvents();
    return f;
  }
};

TEST_F(ScanSoakTest, AnHourOfBandScanningStaysFlatAndRegular) {
  constexpr double kStart = 12, kHour = 3600;
  h.clock.setLimit(kStart + kHour + 60);
  click(kOpenAt, "frmZR3817", "mnuScanBands");
  click(kOpenAt + 0.5, kWin, "cmd40M");
  click(kOpenAt + 0.6, kWin, "Option1", 4);  // 1 kHz: a pass every three minutes
  click(kOpenAt + 0.7, kWin, "Option2", 0);
  click(kStart, kWin, "cmdScanUp");

  std::vector<Footprint> minutes;
  long rssAtFirstMinute = 0;
  for (int m = 1; m <= 60; ++m)
    at(kStart + 60.0 * m, [&, m] {
      minutes.push_back(footprint());
      if (m == 1) rssAtFirstMinute = residentKiB();
      h.radio.clearLog();  // the wire log grows by design
    });
  click(kStart + kHour + 1, kWin, "cmdStop");
  closeAt(kStart + kHour + 2, kWin);
  const auto wall = std::chrono::steady_clock::now();
  runUntil(kStart + kHour + 3);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();

  ASSERT_EQ(minutes.size(), 60u);
  for (std::size_t m = 1; m < minutes.size(); ++m) {
    SCOPED_TRACE("minute " + std::to_string(m + 1));
    EXPECT_LE(minutes[m].modelBytes, minutes[0].modelBytes + 16);
    EXPECT_LE(minutes[m].response, 64u);
    EXPECT_LE(minutes[m].inputWaiting, 64u);
    EXPECT_EQ(minutes[m].engineInput, 0u);
    EXPECT_LE(minutes[m].clockEvents, minutes[0].clockEvents + 4);
  }

  // Only frequency commands, 0.5 s apart plus the confirmation; each pass
  // from 7.000 to 7.300 MHz, then a beep and 2 s.
  const auto all = sent(kStart);
  std::size_t steps = 0, wraps = 0;
  for (std::size_t i = 0; i < all.size() && all[i].time < kStart + kHour; ++i) {
    ASSERT_EQ(all[i].text, frequencyCommand(700000 + 100 * static_cast<long>(i % 301))) << i;
    ++steps;
    if (i == 0) continue;
    const double gap = all[i].time - all[i - 1].time;
    if (i % 301 == 0) {
      ++wraps;
      ASSERT_GT(gap, 2.6) << i;
      ASSERT_LT(gap, 2.8) << i;
    } else {
      ASSERT_GT(gap, 0.6) << i;
      ASSERT_LT(gap, 0.8) << i;
    }
  }
  EXPECT_GT(steps, 5000u);
  EXPECT_EQ(static_cast<int>(wraps), h.host.beeps);
  EXPECT_TRUE(frm().window.enabled);
  EXPECT_FALSE(h.panel.st.gScanning);
  std::printf("[ soak ] %zu steps, %zu wraps in a virtual hour; %.2f s of real time; resident %ld KiB after the "
              "first minute, %ld KiB at the end\n",
              steps, wraps, seconds, rssAtFirstMinute, residentKiB());
}

}  // namespace
}  // namespace zr::test
