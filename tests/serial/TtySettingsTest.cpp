#include <gtest/gtest.h>
#include <termios.h>

#include "core/serial/PortSettings.h"
#include "core/serial/Tty.h"

namespace zr {
namespace {

// A pty forces 8 bits without parity, so the line settings are checked on
// the termios we build rather than through a device.
termios built(const std::string& text, Handshaking h = Handshaking::None) {
  termios t{};
  t.c_iflag = IGNBRK | BRKINT | IGNPAR | ISTRIP | ICRNL | IXON;
  t.c_lflag = ICANON | ECHO | ISIG;
  t.c_cflag = CS8 | CRTSCTS;
  EXPECT_TRUE(tty::makeRaw(t, parsePortSettings(text), h)) << text;
  return t;
}

constexpr tcflag_t kLine = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;

TEST(TtySettings, LineSettingsBecomeTheMatchingFlags) {
  EXPECT_EQ(built("9600,O,7,1").c_cflag & kLine, tcflag_t(CS7 | PARENB | PARODD));
  EXPECT_EQ(built("9600,E,8,2").c_cflag & kLine, tcflag_t(CS8 | PARENB | CSTOPB));
  EXPECT_EQ(built("9600,M,6,1").c_cflag & kLine, tcflag_t(CS6 | PARENB | CMSPAR | PARODD));
  EXPECT_EQ(built("9600,S,8,1").c_cflag & kLine, tcflag_t(CS8 | PARENB | CMSPAR));
  EXPECT_EQ(built("300,N,5,1.5").c_cflag & kLine, tcflag_t(CS5 | CSTOPB));
  EXPECT_EQ(built("9600,N,8,1", Handshaking::RtsCts).c_cflag & kLine, tcflag_t(CS8 | CRTSCTS));

  const termios t = built("19200 ,N,8,1");
  EXPECT_EQ(cfgetispeed(&t), B19200);
  EXPECT_EQ(cfgetospeed(&t), B19200);
  const termios fast = built("115200,N,8,1");
  EXPECT_EQ(cfgetospeed(&fast), B115200);
}

TEST(TtySettings, InputIsRawWithBreaksAndBadBytesMarked) {
  const termios t = built("9600,O,7,1");
  EXPECT_EQ(t.c_iflag & (PARMRK | INPCK | IGNBRK | BRKINT | IGNPAR | ISTRIP | ICRNL | IXON), tcflag_t(PARMRK | INPCK));
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD | HUPCL), tcflag_t(CLOCAL | CREAD | HUPCL));
  EXPECT_EQ(t.c_cc[VMIN], 1);
  EXPECT_EQ(t.c_cc[VTIME], 0);
}

}  // namespace
}  // namespace zr
