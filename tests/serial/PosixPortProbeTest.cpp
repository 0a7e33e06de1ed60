#include "core/serial/PosixPortProbe.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <cstring>
#include <fstream>

#include "PtyPair.h"
#include "core/serial/PosixSerialPort.h"

namespace zr {
namespace {

bool sameSettings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
         std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0 && cfgetispeed(&a) == cfgetispeed(&b) &&
         cfgetospeed(&a) == cfgetospeed(&b);
}

TEST(PosixPortProbe, FindsAFreePortWithoutTouchingItsSettings) {
  PtyPair pty(3);
  termios before{};
  ASSERT_EQ(tcgetattr(pty.slaveFd(), &before), 0);
  PosixPortProbe probe(pty.dir());
  EXPECT_TRUE(probe.exists(3));
  termios after{};
  ASSERT_EQ(tcgetattr(pty.slaveFd(), &after), 0);
  EXPECT_TRUE(sameSettings(before, after));
}

TEST(PosixPortProbe, MissingBusyAndNonTerminalPortsAreNotThere) {
  PtyPair pty(3);
  std::filesystem::create_symlink("/dev/ttyUSB-unplugged", pty.dir() / "COM4");
  std::ofstream(pty.dir() / "COM6") << "plain file";
  PosixPortProbe probe(pty.dir());
  EXPECT_FALSE(probe.exists(4));
  EXPECT_FALSE(probe.exists(6));
  EXPECT_FALSE(probe.exists(0));

  PosixSerialPort holder(pty.dir());
  holder.setCommPort(3);
  holder.open();
  EXPECT_FALSE(probe.exists(3));
  holder.close();
  EXPECT_TRUE(probe.exists(3));
}

}  // namespace
}  // namespace zr
