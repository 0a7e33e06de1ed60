// A pseudo-terminal whose far end goes away: the backend tells it once, as a
// line event, with the port and the system's reason, even when nobody reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "PtyPair.h"
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

}  // namespace
}  // namespace zr
