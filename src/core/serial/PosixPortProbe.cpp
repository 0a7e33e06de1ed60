#include "core/serial/PosixPortProbe.h"

#include <unistd.h>

#include "core/serial/PortMapping.h"
#include "core/serial/Tty.h"

namespace zr {

bool PosixPortProbe::exists(int portNumber) {
  if (portNumber < 1) return false;
  const int fd = tty::openDevice(serialDevicePath(portNumber, dir_));
  if (fd < 0) return false;
  // The lock is the one an open PosixSerialPort holds; it is released with
  // the descriptor, and neither it nor isatty() changes the line settings.
  const bool usable = ::isatty(fd) && tty::tryLock(fd);
  ::close(fd);
  return usable;
}

}  // namespace zr
