// A pseudo-terminal whose far end goes away: the backend tells it once, as a
// line event, with the port and the system's reason, even when nobody reads.
// And a port reopened after its COMn link went: only ever through the link.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "PtyPair.h"
#include "TempDir.h"
#include "core/Errors.h"
#include "core/serial/PosixSerialPort.h"

namespace zr {
namespace {

using namespace std::chrono_literals;

TEST(PosixSerialPortLost, AHangUpIsOneLineEventNamingThePortAndTheReason) {
  PtyPair pty{6};
  PosixSerialPort port{pty.dir()};
  port.setCommPort(pty.port());
  port.open();
  EXPECT_TRUE(port.takeLineEvents().empty());
  EXPECT_EQ(port.failure(), "");

  pty.closeMaster();
  // The hang-up shows at the next look; a loaded machine may need a few.
  std::vector<int> events;
  for (int i = 0; i < 200 && events.empty(); ++i) {
    events = port.takeLineEvents();
    if (events.empty()) std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(std::count(events.begin(), events.end(), comm::PortLost), 1);
  EXPECT_EQ(port.failure().rfind("COM6", 0), 0u) << port.failure();
  EXPECT_NE(port.failure().find("Input/output error"), std::string::npos) << port.failure();
  EXPECT_TRUE(port.takeLineEvents().empty()) << "told once";
  EXPECT_GE(port.descriptor(), 0);
  port.close();
  EXPECT_EQ(port.descriptor(), -1);
}

namespace fs = std::filesystem;

// COM3 and a stand-in for the built-in device in one directory, each a link
// to a pseudo-terminal of its own.
class ComLinkRecovery : public ::testing::Test {
 protected:
  void linkCom3(const PtyPair& to) { link(to, "COM3"); }
  void link(const PtyPair& to, const std::string& name) {
    fs::remove(dir.path() / name);
    fs::create_symlink(std::string(::ttyname(to.slaveFd())), dir.path() / name);
  }
  TempDir dir;
  PtyPair first{3}, second{3}, builtIn{3};
  PosixSerialPort port{dir.path(), (dir.path() / "ttyS").string()};
};

TEST_F(ComLinkRecovery, AReopenFollowsTheLinkAndNeverOpensTheBuiltInDevice) {
  link(builtIn, "ttyS2");
  linkCom3(first);
  port.setCommPort(3);
  port.open();
  port.output("U");
  EXPECT_EQ(first.receive(1), "U");
  port.close();

  fs::remove(dir.path() / "COM3");
  EXPECT_FALSE(port.deviceReady());
  EXPECT_THROW(port.reopen(), RuntimeError);
  EXPECT_FALSE(port.isOpen());
  EXPECT_NE(port.deviceDescription().find("COM3 (missing)"), std::string::npos) << port.deviceDescription();

  linkCom3(second);  // back, pointing somewhere new
  EXPECT_TRUE(port.deviceReady());
  port.reopen();
  port.output("U");
  EXPECT_EQ(second.receive(1), "U");
  port.close();
  EXPECT_EQ(builtIn.receive(1, std::chrono::milliseconds(300)), "") << "the built-in device was written to";

  // The operator choosing port 3 again with no COM3 at all: now the
  // built-in device is the port.
  fs::remove(dir.path() / "COM3");
  port.open();
  port.output("?\n");
  EXPECT_EQ(builtIn.receive(2), "?\n");
}

TEST_F(ComLinkRecovery, ALinkDanglingWhenChosenIsWaitedFor) {
  link(builtIn, "ttyS2");
  fs::create_symlink("/dev/zr-no-such-adapter", dir.path() / "COM3");
  port.chooseDevice(3);
  port.setCommPort(3);
  EXPECT_FALSE(port.deviceReady());
  try {
    port.reopen();
    ADD_FAILURE() << "opened a dangling link";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.description.find("/dev/zr-no-such-adapter (missing)"), std::string::npos) << e.description;
  }
  linkCom3(first);
  EXPECT_TRUE(port.deviceReady());
  port.reopen();
  port.output("U");
  EXPECT_EQ(first.receive(1), "U");
  EXPECT_EQ(builtIn.receive(1, std::chrono::milliseconds(300)), "");
}

TEST_F(ComLinkRecovery, ALinkThatMovesWhileThePortIsOpenIsALostPort) {
  // The port was opened through COM3 on a device that is not the radio (its
  // name reused after the radio's went away); the link then moves on to the
  // radio. Staying open would mean talking to the stranger for ever.
  linkCom3(first);
  port.setCommPort(3);
  port.open();
  EXPECT_TRUE(port.takeLineEvents().empty());
  linkCom3(second);
  std::vector<int> events;
  for (int i = 0; i < 500 && events.empty(); ++i) {
    events = port.takeLineEvents();
    if (events.empty()) std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(std::count(events.begin(), events.end(), comm::PortLost), 1);
  EXPECT_NE(port.failure().find("COM3"), std::string::npos) << port.failure();
  EXPECT_NE(port.failure().find("the link now leads to another device"), std::string::npos) << port.failure();
  port.close();
  port.reopen();
  EXPECT_TRUE(port.takeLineEvents().empty());
  port.output("U");
  EXPECT_EQ(second.receive(1), "U");
  EXPECT_EQ(first.receive(1, std::chrono::milliseconds(300)), "");
}

}  // namespace
}  // namespace zr
