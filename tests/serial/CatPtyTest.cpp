// The CAT port on the real termios backend: station software on the master
// side of a pseudo-terminal, the panel's CAT port on the slave, and the
// simulated transceiver on a virtual-time radio port.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "PtyPair.h"
#include "cat/CatPort.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "core/serial/PosixSerialPort.h"
#include "support/EngineHarness.h"

namespace zr::test {
namespace {

using namespace std::chrono_literals;

class CatPtyTest : public ::testing::Test {
 protected:
  CatPtyTest() {
    clock.setLimit(3600);
    sim = std::make_unique<sim::VirtualTransceiver>(radio, clock, 2);
    panel.settings.gRadioPort = "1";
    panel.settings.gRadioSettings = "9600,N,8,1";
    panel.settings.gRadioHandshake = "comNone";
    panel.link().SetUpRadioPort();
    panel.st.gFwType = 2;
    panel.link().gSendCommand("?", true, 0.6);
    panel.link().gReadResponse();
    panel.display().gUpdateDisplay();

    panel.settings.gCATPort = std::to_string(pty.port());
    panel.settings.gCATSettings = "9600,N,8,1";
    panel.settings.gCATHandshake = "comNone";
  }

  // Pumps, serving the flag as the service loop would, until a receive
  // event has taken a request (real time: the bytes travel through the
  // kernel; the receive's own wait passes in virtual time).
  bool serve(std::chrono::milliseconds timeout = 5000ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    panel.frm.txtInCat.text.clear();
    while (std::chrono::steady_clock::now() < deadline) {
      panel.engine.pump(0.05);
      if (panel.form.gCATPending) panel.cat().CATCmd();
      if (!panel.frm.txtInCat.text.empty() && !panel.cat().receiving()) return true;
      std::this_thread::sleep_for(2ms);
    }
    return false;
  }

  PtyPair pty{7};
  FakeClock clock;
  RecordingHost host;
  FakeSerialPort radio{clock};
  PosixSerialPort cat{pty.dir()};
  FakePortProbe probe;
  Panel panel{clock, host, radio, cat, probe};
  std::unique_ptr<sim::VirtualTransceiver> sim;
};

TEST_F(CatPtyTest, TheReceiveEventWaitsForThreeCharacters) {
  ASSERT_TRUE(panel.cat().SetUpCATPort()) << panel.frm.txtInfo.text;
  pty.send("FA");
  EXPECT_FALSE(serve(150ms));
  pty.send(";");
  ASSERT_TRUE(serve());
  EXPECT_EQ(panel.cat().gCATInput, "FA;");
  EXPECT_EQ(pty.receive(14), "FA00014250000;");
}

TEST_F(CatPtyTest, QueriesAndSettingsReachTheTransceiverAndComeBack) {
  ASSERT_TRUE(panel.cat().SetUpCATPort()) << panel.frm.txtInfo.text;
  pty.send("FA;MD;");
  ASSERT_TRUE(serve());
  EXPECT_EQ(pty.receive(18), "FA00014250000;MD2;");

  pty.send("FA00007074000;MD1;");
  ASSERT_TRUE(serve());
  EXPECT_EQ(pty.receive(1, 100ms), "") << "settings are not answered";
  EXPECT_EQ(sim->model().state().frequency, 707400);
  EXPECT_EQ(sim->model().state().mode, 2);

  pty.send("FA;MD;");
  ASSERT_TRUE(serve());
  EXPECT_EQ(pty.receive(18), "FA00007074000;MD1;");
}

TEST_F(CatPtyTest, GarbageOnTheLineLeavesThePortAnswering) {
  ASSERT_TRUE(panel.cat().SetUpCATPort()) << panel.frm.txtInfo.text;
  pty.send(std::string("\0\xff\x13\x11garbage;;\0FB;fa;MD9;", 24));
  serve();
  pty.send(std::string(4000, 'Z'));
  serve();
  EXPECT_EQ(pty.receive(1, 100ms), "");
  EXPECT_EQ(radio.written().find('\0'), std::string::npos);

  pty.send("MD;");
  ASSERT_TRUE(serve());
  EXPECT_EQ(pty.receive(4), "MD2;");
  EXPECT_EQ(sim->model().state().frequency, 1425000);
}

TEST_F(CatPtyTest, APortThatCannotBeOpenedIsReported) {
  panel.settings.gCATPort = "200";  // no COM200 link, no such device
  EXPECT_FALSE(panel.cat().SetUpCATPort());
  EXPECT_EQ(panel.frm.txtInfo.text.rfind("SetUpCATPort: Err ", 0), 0u) << panel.frm.txtInfo.text;
  EXPECT_EQ(panel.frm.txtOutCAT.text, "No CAT Port");
}

}  // namespace
}  // namespace zr::test
