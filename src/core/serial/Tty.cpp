#include "core/serial/Tty.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace zr::tty {
namespace {

speed_t speedConstant(int baud) {
  switch (baud) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    case 1152000: return B1152000;
    case 1500000: return B1500000;
    case 2000000: return B2000000;
    case 2500000: return B2500000;
    case 3000000: return B3000000;
    case 3500000: return B3500000;
    case 4000000: return B4000000;
    default: return B0;
  }
}

tcflag_t sizeFlag(int dataBits) {
  switch (dataBits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

}  // namespace

bool unsupported(int errnoValue) { return errnoValue == ENOTTY || errnoValue == EINVAL; }

int openDevice(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

bool tryLock(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

bool makeRaw(termios& t, const PortSettings& s, Handshaking handshaking) {
  ::cfmakeraw(&t);

  // Breaks and bad bytes reach us marked instead of being dropped, turned
  // into NULs or into signals. INPCK also makes framing errors marked.
  t.c_iflag &= ~(IGNBRK | BRKINT | IGNPAR | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
  t.c_iflag |= PARMRK | INPCK;

  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= sizeFlag(s.dataBits) | CLOCAL | CREAD | HUPCL;
  switch (s.parity) {
    case Parity::None: break;
    case Parity::Odd: t.c_cflag |= PARENB | PARODD; break;
    case Parity::Even: t.c_cflag |= PARENB; break;
    case Parity::Mark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case Parity::Space: t.c_cflag |= PARENB | CMSPAR; break;
  }
  // With 5 data bits the UART sends 1.5 stop bits for CSTOPB.
  if (s.stopBits != StopBits::One) t.c_cflag |= CSTOPB;
  if (handshaking == Handshaking::RtsCts) t.c_cflag |= CRTSCTS;

  // VMIN 1 makes an empty non-blocking read EAGAIN, so 0 means hangup.
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  const speed_t speed = speedConstant(s.baud);
  return speed != B0 && ::cfsetispeed(&t, speed) == 0 && ::cfsetospeed(&t, speed) == 0;
}

int configure(int fd, const PortSettings& s, Handshaking handshaking) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return errno;
  if (!makeRaw(t, s, handshaking)) return EINVAL;
  if (::tcsetattr(fd, TCSANOW, &t) != 0) return errno;
  return 0;
}

std::optional<int> modemLines(int fd) {
  int bits = 0;
  if (::ioctl(fd, TIOCMGET, &bits) != 0) return std::nullopt;
  return bits;
}

int setModemLine(int fd, int line, bool on) {
  if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0 || unsupported(errno)) return 0;
  return errno;
}

std::optional<Counts> interruptCounts(int fd) {
  serial_icounter_struct c{};
  if (::ioctl(fd, TIOCGICOUNT, &c) != 0) return std::nullopt;
  return Counts{c.frame, c.overrun + c.buf_overrun, c.dsr};
}

}  // namespace zr::tty
