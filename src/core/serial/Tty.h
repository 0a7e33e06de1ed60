#pragma once
// Thin wrappers over the tty ioctls the serial backend and the port probe
// use. Devices without modem lines or interrupt counters (pseudo-terminals)
// answer ENOTTY or EINVAL; these wrappers report that as "not supported".
#include <filesystem>
#include <optional>

#include <termios.h>

#include "core/SerialPort.h"
#include "core/serial/PortSettings.h"

namespace zr::tty {

// Opens read/write, non-blocking, without becoming the controlling tty.
// Returns -1 with errno set on failure.
int openDevice(const std::filesystem::path& path);

// An advisory lock that keeps a second opener out of a port, root included
// (TIOCEXCL does not stop root). False when another holder has it.
bool tryLock(int fd);

// Raw mode with PARMRK marking, the given line settings and flow control.
// makeRaw edits `t` (false for a speed termios lacks); configure applies it
// to the device and returns 0 or the errno of the failing call.
bool makeRaw(termios& t, const PortSettings& settings, Handshaking handshaking);
int configure(int fd, const PortSettings& settings, Handshaking handshaking);

// TIOCM_* bits, nullopt when the device has no modem lines. Other failures
// return nullopt too and leave errno set.
std::optional<int> modemLines(int fd);
// Raise or drop TIOCM_DTR / TIOCM_RTS. 0, or the errno of a real failure.
int setModemLine(int fd, int line, bool on);

struct Counts {
  int frame = 0;
  int overrun = 0;  // hardware and tty-buffer overruns together
  int dsr = 0;      // DSR transitions
};
// TIOCGICOUNT; nullopt when the driver does not keep counts.
std::optional<Counts> interruptCounts(int fd);

bool unsupported(int errnoValue);

}  // namespace zr::tty
