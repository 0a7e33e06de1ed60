#include "core/serial/PosixSerialPort.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <fstream>
#include <thread>

#include "PtyPair.h"
#include "core/Errors.h"

namespace zr {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using Steady = std::chrono::steady_clock;

// The few tests that measure real waits prove only what holds on a loaded
// machine: a wait is not cut short, and a wait that should end at an event
// ends long before its timeout. How fast is for the benchmarks.
constexpr auto kLongBeforeTimeout = 4s;

class PosixSerialPortTest : public ::testing::Test {
 protected:
  PtyPair pty{5};
  PosixSerialPort port{pty.dir()};

  void openWith(const std::string& settings = "9600,N,8,1") {
    port.setCommPort(pty.port());
    port.setSettings(settings);
    port.open();
  }
  // Lets bytes sent by the peer reach the port, however they are split.
  void settle(int expectedCount) {
    const auto deadline = Steady::now() + 10s;
    while (port.inBufferCount() < expectedCount && Steady::now() < deadline) port.waitForInput(0.05);
  }
  // Waits until bytes the peer sent wait in the driver, without reading them.
  bool inDriver() const {
    pollfd p{pty.slaveFd(), POLLIN, 0};
    return ::poll(&p, 1, 10000) == 1;
  }
  termios slaveSettings() const {
    termios t{};
    tcgetattr(pty.slaveFd(), &t);
    return t;
  }
};

int errorNumberOf(const std::function<void()>& f, std::string* text = nullptr) {
  try {
    f();
  } catch (const RuntimeError& e) {
    if (text) *text = e.description;
    return e.number;
  }
  return 0;
}

TEST_F(PosixSerialPortTest, OpensWithTheLineSettingsAndRawMarkedInput) {
  port.setHandshaking(Handshaking::RtsCts);
  openWith("19200 ,o,7,2");
  // A pty keeps everything but the character size and parity enable.
  const termios t = slaveSettings();
  EXPECT_EQ(cfgetispeed(&t), B19200);
  EXPECT_EQ(t.c_cflag & (PARODD | CSTOPB | CRTSCTS | CLOCAL | CREAD), tcflag_t(PARODD | CSTOPB | CRTSCTS | CLOCAL | CREAD));
  EXPECT_EQ(t.c_iflag & (PARMRK | IGNBRK | BRKINT | IGNPAR | IXON | ICRNL), tcflag_t(PARMRK));
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(port.settings(), "19200 ,o,7,2");
}

TEST_F(PosixSerialPortTest, CarriesBytesBothWaysUnchanged) {
  openWith();
  port.output("?\n");
  port.output("F1425000\n");
  EXPECT_EQ(pty.receive(11), "?\nF1425000\n");

  // 0xFF arrives doubled by the line discipline and must come out once.
  const std::string reply = "F1425000\nM1\n\xff\x01\x7f\n";
  pty.send(reply);
  settle(static_cast<int>(reply.size()));
  EXPECT_EQ(port.inBufferCount(), static_cast<int>(reply.size()));
  EXPECT_EQ(port.input(), reply);
  EXPECT_EQ(port.inBufferCount(), 0);
  EXPECT_EQ(port.outBufferCount(), 0);
}

TEST_F(PosixSerialPortTest, DiscardsInputInOurBufferAndInTheDriver) {
  openWith();
  pty.send("old reply\n");
  settle(10);
  pty.send("more\n");
  ASSERT_TRUE(inDriver());
  port.discardInput();
  EXPECT_EQ(port.inBufferCount(), 0);
  pty.send("new\n");
  settle(4);
  EXPECT_EQ(port.input(), "new\n");
}

TEST_F(PosixSerialPortTest, NullDiscardDropsNulBytes) {
  port.setNullDiscard(true);
  openWith();
  pty.send("U\0\0\nK\0\n"s);
  settle(4);
  EXPECT_EQ(port.input(), "U\nK\n");
}

TEST_F(PosixSerialPortTest, AFullInputBufferKeepsWhatFitsAndReportsOverflowOnce) {
  port.setInBufferSize(8);
  openWith();
  pty.send("0123456789AB");
  settle(8);
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(port.inBufferCount(), 8);
  pty.send("CD");
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(port.takeLineEvents(), std::vector<int>{comm::RxOver});
  EXPECT_EQ(port.input(), "01234567");
  pty.send("EF");
  settle(2);
  EXPECT_EQ(port.input(), "EF");
  EXPECT_TRUE(port.takeLineEvents().empty());
}

TEST_F(PosixSerialPortTest, ReceiveEventWaitsForTheThresholdAndFiresOncePerArrival) {
  port.setRThreshold(3);
  openWith();
  pty.send("FA");
  settle(2);
  EXPECT_TRUE(port.takeLineEvents().empty());
  pty.send(";");
  settle(3);
  EXPECT_EQ(port.takeLineEvents(), std::vector<int>{comm::EvReceive});
  EXPECT_EQ(port.commEvent(), comm::EvReceive);
  EXPECT_TRUE(port.takeLineEvents().empty());
  EXPECT_EQ(port.input(), "FA;");
}

TEST_F(PosixSerialPortTest, APortWithoutModemLinesHoldsDsrAndNeverRaisesDsrEvents) {
  port.setDTREnable(true);
  port.setRTSEnable(true);
  openWith();
  EXPECT_TRUE(port.dsrHolding());
  port.setDTREnable(false);
  port.setRTSEnable(false);
  EXPECT_FALSE(port.dtrEnable());
  EXPECT_TRUE(port.takeLineEvents().empty());
  EXPECT_EQ(port.commEvent(), 0);
}

TEST_F(PosixSerialPortTest, ASecondOpenOfAHeldPortIsRefusedReadably) {
  openWith();
  PosixSerialPort other(pty.dir());
  other.setCommPort(pty.port());
  std::string text;
  EXPECT_EQ(errorNumberOf([&] { other.open(); }, &text), err::PortAlreadyOpen);
  EXPECT_NE(text.find("COM5 -> /dev/pts/"), std::string::npos) << text;
  EXPECT_NE(text.find("another program is using this port"), std::string::npos) << text;
  EXPECT_FALSE(other.isOpen());
  // The refused attempt left the holder working.
  pty.send("x");
  settle(1);
  EXPECT_EQ(port.input(), "x");

  port.close();
  other.open();
  EXPECT_TRUE(other.isOpen());
}

TEST_F(PosixSerialPortTest, MisuseAndMissingDevicesGiveTheRightErrors) {
  EXPECT_EQ(errorNumberOf([&] { port.inBufferCount(); }), err::PortNotOpen);
  EXPECT_EQ(errorNumberOf([&] { port.output("x"); }), err::PortNotOpen);
  EXPECT_EQ(errorNumberOf([&] { port.waitForInput(0.01); }), err::PortNotOpen);
  EXPECT_TRUE(port.takeLineEvents().empty());
  EXPECT_NO_THROW(port.close());
  EXPECT_EQ(errorNumberOf([&] { port.setCommPort(0); }), err::InvalidPortNumber);
  EXPECT_EQ(errorNumberOf([&] { port.setSettings("9600,Q,8,1"); }), err::InvalidPortSettings);
  EXPECT_EQ(port.settings(), "9600,N,8,1");

  openWith();
  EXPECT_EQ(errorNumberOf([&] { port.open(); }), err::PortAlreadyOpen);
  port.close();
  port.close();
  EXPECT_FALSE(port.isOpen());

  std::filesystem::create_symlink("/dev/ttyUSB-unplugged", pty.dir() / "COM7");
  port.setCommPort(7);
  std::string text;
  EXPECT_EQ(errorNumberOf([&] { port.open(); }, &text), err::FileNotFound);
  EXPECT_NE(text.find("COM7 -> /dev/ttyUSB-unplugged (missing)"), std::string::npos) << text;

  std::ofstream(pty.dir() / "COM8") << "not a tty";
  port.setCommPort(8);
  EXPECT_EQ(errorNumberOf([&] { port.open(); }, &text), err::PortUnavailable);
  EXPECT_NE(text.find("not a serial device"), std::string::npos) << text;
  EXPECT_FALSE(port.isOpen());
}

TEST_F(PosixSerialPortTest, WaitForInputReturnsAtTheFirstByteOrAtTheTimeout) {
  openWith();
  auto start = Steady::now();
  EXPECT_FALSE(port.waitForInput(0.2));
  EXPECT_GE(Steady::now() - start, 200ms - 1ms) << "the timeout is not early";

  std::thread peer([&] {
    std::this_thread::sleep_for(100ms);
    pty.send("U");
  });
  start = Steady::now();
  EXPECT_TRUE(port.waitForInput(10.0));
  EXPECT_LT(Steady::now() - start, kLongBeforeTimeout) << "returned at the byte, not at the timeout";
  peer.join();
  EXPECT_EQ(port.input(), "U");
}

TEST_F(PosixSerialPortTest, ReadingTheInputDropsTheReceiveEventsItAnnounced) {
  port.setRThreshold(3);
  openWith();
  pty.send("FA;");
  settle(3);  // pulled: a receive event waits
  pty.send("MD;");
  ASSERT_TRUE(inDriver());
  EXPECT_EQ(port.input(), "FA;MD;");
  EXPECT_TRUE(port.takeLineEvents().empty()) << "an event would announce an empty buffer";

  pty.send("FA;");
  settle(3);
  port.discardInput();
  EXPECT_TRUE(port.takeLineEvents().empty());
}

TEST_F(PosixSerialPortTest, ArrivingInputWakesTheNotifierOncePerArrival) {
  std::mutex m;
  std::condition_variable cv;
  int calls = 0;
  port.setInputNotifier([&] {
    std::lock_guard lock(m);
    ++calls;
    cv.notify_all();
  });
  openWith();
  auto callsAfter = [&](int atLeast) {
    std::unique_lock lock(m);
    cv.wait_for(lock, 10s, [&] { return calls >= atLeast; });
    return calls;
  };
  pty.send("U");
  EXPECT_EQ(callsAfter(1), 1);
  // Left unread, the byte must not make the watcher call again and again.
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(callsAfter(1), 1);
  pty.send("K");
  EXPECT_EQ(callsAfter(2), 2);
  EXPECT_EQ(port.input(), "UK");

  port.close();
  pty.send("x");
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(callsAfter(2), 2) << "a closed port notifies nobody";
}

TEST_F(PosixSerialPortTest, APeerThatVanishesGivesErrorsNotHangs) {
  openWith();
  std::thread peer([&] {
    std::this_thread::sleep_for(50ms);
    pty.closeMaster();
  });
  const auto start = Steady::now();
  EXPECT_EQ(errorNumberOf([&] { port.waitForInput(10.0); }), err::DeviceIoError);
  EXPECT_LT(Steady::now() - start, kLongBeforeTimeout);
  peer.join();

  std::string text;
  EXPECT_EQ(errorNumberOf([&] { port.inBufferCount(); }, &text), err::DeviceIoError);
  EXPECT_NE(text.find("COM5"), std::string::npos) << text;
  EXPECT_EQ(errorNumberOf([&] { port.output("?\n"); }), err::DeviceIoError);
  EXPECT_EQ(errorNumberOf([&] { port.waitForInput(5.0); }), err::DeviceIoError);
  EXPECT_NO_THROW(port.takeLineEvents());
  EXPECT_TRUE(port.isOpen());
  EXPECT_NO_THROW(port.close());
  EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace zr
