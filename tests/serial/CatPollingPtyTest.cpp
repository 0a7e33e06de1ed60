// Station software polling the CAT port back to back over a real
// pseudo-terminal, with the engine on a thread of its own on the system
// clock, as in the program.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "PtyPair.h"
#include "cat/CatPort.h"
#include "core/Panel.h"
#include "core/serial/PosixSerialPort.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

using namespace std::chrono_literals;

class CatPollingPtyTest : public ::testing::Test {
 protected:
  CatPollingPtyTest() {
    // The state a decoded report leaves; no radio port is needed for queries.
    panel.st.gFreqCmd = "F1425000";
    panel.st.gFreqValid = true;
    panel.st.gMode = "M1";
    panel.frm.cmbDig.text = "OFF";
    panel.settings.gCATPort = std::to_string(pty.port());
    panel.settings.gCATSettings = "9600,N,8,1";
    panel.settings.gCATHandshake = "comNone";
  }
  ~CatPollingPtyTest() override {
    stop = true;
    clock.wake();
    if (engine.joinable()) engine.join();
  }

  // The CAT part of the service loop: pump, then serve the flag.
  void startEngine() {
    engine = std::thread([this] {
      while (!stop) {
        panel.engine.pump(0.02);
        if (panel.form.gCATPending) panel.cat().CATCmd();
      }
    });
  }

  PtyPair pty{7};
  SystemClock clock;
  RecordingHost host;
  FakeClock unusedClock;
  FakeSerialPort radio{unusedClock};  // never opened
  PosixSerialPort cat{pty.dir()};
  FakePortProbe probe;
  Panel panel{clock, host, radio, cat, probe};
  std::atomic<bool> stop{false};
  std::thread engine;
};

// "MD;" arrives while the receive event of "FA;" still waits for the rest of
// its request: the read takes both, and nothing announced by those bytes may
// later replace a request with an empty read.
TEST_F(CatPollingPtyTest, BackToBackQueriesAreAllAnswered) {
  ASSERT_TRUE(panel.cat().SetUpCATPort()) << panel.frm.txtInfo.text;
  startEngine();
  const std::string both = "FA00014250000;MD2;";
  int unanswered = 0;
  // Ten lost rounds say enough; stopping there keeps a failing run short.
  for (int round = 0; round < 300 && unanswered < 10; ++round) {
    pty.send("FA;");
    std::this_thread::sleep_for(std::chrono::milliseconds(10 + round % 5));
    pty.send("MD;");
    // Generous: a loaded machine may stall the engine, but never this long.
    const std::string got = pty.receive(both.size(), 3000ms);
    if (got != both) {
      ++unanswered;
      ADD_FAILURE() << "round " << round << " answered \"" << got << "\"";
      pty.receive(64, 200ms);  // let a late answer pass before the next round
    }
  }
  EXPECT_EQ(unanswered, 0);
}

}  // namespace
}  // namespace zr::test
