#include "core/serial/PosixSerialPort.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "core/Errors.h"
#include "core/serial/DeviceAccess.h"
#include "core/serial/PortMapping.h"

namespace zr {
namespace {

using Steady = std::chrono::steady_clock;

// A write that makes no progress for this long (flow control holding it, a
// stuck driver) is given up rather than blocking the engine.
constexpr std::chrono::seconds kWriteStall{2};

timespec toTimespec(Steady::duration d) {
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
  return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

// Waits for `events` on fd until `deadline`; returns revents, 0 on timeout.
short waitFor(int fd, short events, Steady::time_point deadline, int& error) {
  for (;;) {
    const auto left = deadline - Steady::now();
    if (left <= Steady::duration::zero()) return 0;
    pollfd p{fd, events, 0};
    const timespec ts = toTimespec(left);
    const int r = ::ppoll(&p, 1, &ts, nullptr);
    if (r > 0) return p.revents;
    if (r < 0 && errno != EINTR) {
      error = errno;
      return POLLERR;
    }
  }
}

}  // namespace

PosixSerialPort::PosixSerialPort(std::filesystem::path mappingDir, std::string fallbackPrefix)
    : dir_(std::move(mappingDir)), fallbackPrefix_(std::move(fallbackPrefix)) {
  decoder_.setParityReplace("?");
}

PosixSerialPort::~PosixSerialPort() { close(); }

void PosixSerialPort::setCommPort(int n) {
  if (n < 1) throw RuntimeError(err::InvalidPortNumber);
  port_ = n;
}

void PosixSerialPort::setSettings(const std::string& settings) {
  settings_ = parsePortSettings(settings);
  settingsText_ = settings;
}

void PosixSerialPort::setInBufferSize(int bytes) {
  if (bytes < 1) throw RuntimeError(err::InvalidArgument, "Input buffer size must be at least 1");
  inBufferSize_ = bytes;
}

void PosixSerialPort::setOutBufferSize(int bytes) {
  // The driver's own queue does the buffering; only the value is checked.
  if (bytes < 1) throw RuntimeError(err::InvalidArgument, "Output buffer size must be at least 1");
}

void PosixSerialPort::setNullDiscard(bool on) { decoder_.setNullDiscard(on); }

void PosixSerialPort::setParityReplace(const std::string& replacement) { decoder_.setParityReplace(replacement); }

void PosixSerialPort::setRThreshold(int n) {
  if (n < 0) throw RuntimeError(err::InvalidArgument, "Receive threshold must not be negative");
  rThreshold_ = n;
}

void PosixSerialPort::setRTSEnable(bool on) {
  rts_ = on;
  if (isOpen()) applyModemLine(TIOCM_RTS, on);
}

void PosixSerialPort::setDTREnable(bool on) {
  dtr_ = on;
  if (isOpen()) applyModemLine(TIOCM_DTR, on);
}

void PosixSerialPort::applyModemLine(int line, bool on) {
  requireHealthy();
  if (const int e = tty::setModemLine(fd_, line, on)) {
    fail(e);
    requireHealthy();
  }
}

std::string PosixSerialPort::deviceDescription() const {
  if (route_ && route_->port == port_) return describeRoute(*route_);
  return describeSerialPort(port_, dir_);
}

void PosixSerialPort::chooseDevice(int portNumber) { route_ = choosePortRoute(portNumber, dir_, fallbackPrefix_); }

const PortRoute& PosixSerialPort::route() {
  if (!route_ || route_->port != port_) chooseDevice(port_);
  return *route_;
}

bool PosixSerialPort::deviceReady() const {
  // The decision may be for a number not yet set (chosen before the open).
  if (route_) return routeReady(*route_);
  return routeReady(choosePortRoute(port_, dir_, fallbackPrefix_));
}

void PosixSerialPort::open() {
  if (isOpen()) throw RuntimeError(err::PortAlreadyOpen);
  chooseDevice(port_);
  openRoute();
}

void PosixSerialPort::reopen() {
  if (isOpen()) throw RuntimeError(err::PortAlreadyOpen);
  openRoute();
}

void PosixSerialPort::openRoute() {
  const auto path = route().path;
  const std::string what = "Cannot open " + deviceDescription();

  const int fd = tty::openDevice(path);
  if (fd < 0) {
    const int e = errno;
    // Name the group that may open it, not a guess.
    if (const std::string hint = e == EACCES || e == EPERM ? accessHint(path) : std::string(); !hint.empty())
      throw RuntimeError(err::PermissionDenied, what + ": " + std::strerror(e) + " (" + hint + ")");
    throw osError(e, what);
  }
  // Check for another holder before touching any line of the port.
  if (!tty::tryLock(fd)) {
    ::close(fd);
    throw osError(EBUSY, what);
  }
  ::ioctl(fd, TIOCEXCL);
  // Opening raised DTR; a raised DTR can key some radios.
  tty::setModemLine(fd, TIOCM_DTR, false);

  if (const int e = tty::configure(fd, settings_, handshaking_)) {
    ::close(fd);
    if (e == ENOTTY) throw RuntimeError(err::PortUnavailable, what + ": not a serial device");
    throw RuntimeError(err::PortUnavailable, what + ": could not set " + settingsText_ + ": " + std::strerror(e));
  }
  ::tcflush(fd, TCIOFLUSH);

  fd_ = fd;
  ioError_ = 0;
  linkMoved_ = false;
  lostReported_ = false;
  inbuf_.clear();
  events_.clear();
  decoder_.reset();
  unsignalledInput_ = false;
  overflowing_ = false;
  try {
    applyModemLine(TIOCM_DTR, dtr_);
    applyModemLine(TIOCM_RTS, rts_);
  } catch (...) {
    close();
    throw;
  }
  const auto lines = tty::modemLines(fd_);
  hasModemLines_ = lines.has_value();
  // No modem lines (a pseudo-terminal): DSR reads as holding, which means
  // "external PTT idle", so such a port can never key the transmitter.
  lastDsr_ = lines ? (*lines & TIOCM_DSR) != 0 : true;
  counts_ = tty::interruptCounts(fd_);
  if (notify_) {
    try {
      watcher_ = std::make_unique<InputWatcher>(fd_, notify_);
    } catch (...) {
      close();
      throw;
    }
  }
}

void PosixSerialPort::close() {
  if (fd_ < 0) return;
  watcher_.reset();
  tty::setModemLine(fd_, TIOCM_DTR, false);
  // The exclusive flag outlives this descriptor while anyone else keeps the
  // device open (the simulator holds its pty), so give it up explicitly.
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
  inbuf_.clear();
  events_.clear();
}

void PosixSerialPort::requireOpen() const {
  if (!isOpen()) throw RuntimeError(err::PortNotOpen);
}

void PosixSerialPort::requireHealthy() const {
  if (ioError_ != 0) throw RuntimeError(err::DeviceIoError, failure());
}

std::string PosixSerialPort::failure() const {
  if (ioError_ == 0) return {};
  if (linkMoved_) return deviceDescription() + ": the link now leads to another device";
  return deviceDescription() + ": " + std::strerror(ioError_);
}

// A port opened through a COMn link whose device went away and whose name was
// given to another (a pseudo-terminal number reused, an adapter re-plugged)
// may be open on a stranger while the link has moved on to the radio: the
// port is then lost, and recovery reopens it through the link.
void PosixSerialPort::checkLinkStillLeadsHere() {
  constexpr auto kLookInterval = std::chrono::milliseconds(250);
  if (!route_ || !route_->viaLink || ioError_ != 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastLinkLook_ < kLookInterval) return;
  lastLinkLook_ = now;
  struct stat linked {}, open {};
  // A dangling link says nothing of the open device: a hang-up will.
  if (::stat(route_->path.c_str(), &linked) != 0 || ::fstat(fd_, &open) != 0) return;
  if (linked.st_rdev == open.st_rdev) return;
  linkMoved_ = true;
  fail(ENODEV);
}

void PosixSerialPort::fail(int errnoValue) {
  if (ioError_ == 0) ioError_ = errnoValue;
}

bool PosixSerialPort::pull() {
  if (ioError_ != 0) return true;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd_, buf, sizeof buf);
    if (n > 0) {
      store(decoder_.decode({buf, static_cast<size_t>(n)}));
    } else if (n == 0) {
      // With VMIN 1 a tty reads end-of-file only after a hangup.
      fail(EIO);
      return true;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      return false;
    } else if (errno != EINTR) {
      fail(errno);
      return true;
    }
  }
}

void PosixSerialPort::store(MarkedInputDecoder::Result decoded) {
  events_.insert(events_.end(), decoded.events.begin(), decoded.events.end());
  const size_t room = static_cast<size_t>(inBufferSize_) - std::min(inbuf_.size(), static_cast<size_t>(inBufferSize_));
  if (decoded.data.size() > room) {
    decoded.data.resize(room);
    if (!overflowing_) events_.push_back(comm::RxOver);
    overflowing_ = true;
  }
  if (!decoded.data.empty()) {
    inbuf_ += decoded.data;
    unsignalledInput_ = true;
  }
  if (rThreshold_ > 0 && unsignalledInput_ && inbuf_.size() >= static_cast<size_t>(rThreshold_)) {
    events_.push_back(comm::EvReceive);
    unsignalledInput_ = false;
  }
}

int PosixSerialPort::inBufferCount() {
  requireOpen();
  pull();
  requireHealthy();
  return static_cast<int>(inbuf_.size());
}

std::string PosixSerialPort::input() {
  requireOpen();
  pull();
  requireHealthy();
  overflowing_ = false;
  forgetReceiveEvents();
  return std::exchange(inbuf_, {});
}

// The bytes a queued receive event announced are gone; an event left behind
// would announce an empty buffer.
void PosixSerialPort::forgetReceiveEvents() {
  std::erase(events_, comm::EvReceive);
  unsignalledInput_ = false;
}

void PosixSerialPort::discardInput() {
  requireOpen();
  requireHealthy();
  ::tcflush(fd_, TCIFLUSH);
  inbuf_.clear();
  decoder_.reset();
  forgetReceiveEvents();
  overflowing_ = false;
}

int PosixSerialPort::outBufferCount() {
  requireOpen();
  requireHealthy();
  int n = 0;
  if (::ioctl(fd_, TIOCOUTQ, &n) != 0) {
    if (tty::unsupported(errno)) return 0;
    fail(errno);
    requireHealthy();
  }
  return n;
}

void PosixSerialPort::output(std::string_view text) {
  requireOpen();
  requireHealthy();
  auto lastProgress = Steady::now();
  while (!text.empty()) {
    const ssize_t n = ::write(fd_, text.data(), text.size());
    if (n > 0) {
      text.remove_prefix(static_cast<size_t>(n));
      lastProgress = Steady::now();
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
      fail(n == 0 ? EIO : errno);
      requireHealthy();
    }
    int error = 0;
    const short revents = waitFor(fd_, POLLOUT, lastProgress + kWriteStall, error);
    if (revents == 0)
      throw RuntimeError(err::DeviceIoError, deviceDescription() + ": write timed out, the port is not sending");
    if (revents & (POLLERR | POLLHUP | POLLNVAL)) {
      fail(error != 0 ? error : EIO);
      requireHealthy();
    }
  }
}

bool PosixSerialPort::dsrHolding() {
  requireOpen();
  requireHealthy();
  if (!hasModemLines_) return true;
  const auto lines = tty::modemLines(fd_);
  if (lines) return (*lines & TIOCM_DSR) != 0;
  if (tty::unsupported(errno)) return true;
  fail(errno);
  requireHealthy();
  return true;
}

bool PosixSerialPort::waitForInput(double timeoutSeconds) {
  requireOpen();
  pull();
  requireHealthy();
  const size_t base = inbuf_.size();
  const auto deadline = Steady::now() + std::chrono::duration_cast<Steady::duration>(
                                            std::chrono::duration<double>(std::max(0.0, timeoutSeconds)));
  while (inbuf_.size() <= base) {
    int error = 0;
    const short revents = waitFor(fd_, POLLIN, deadline, error);
    if (revents == 0) return false;
    const bool broken = pull();
    // A hangup that reads as "no data" must not make us poll again at once.
    if (!broken && (revents & (POLLERR | POLLHUP | POLLNVAL)) && inbuf_.size() <= base)
      fail(error != 0 ? error : EIO);
    requireHealthy();
  }
  return true;
}

void PosixSerialPort::checkLineCounters() {
  bool dsrChanged = false;
  if (hasModemLines_) {
    if (const auto lines = tty::modemLines(fd_)) {
      const bool dsr = (*lines & TIOCM_DSR) != 0;
      dsrChanged = dsr != lastDsr_;
      lastDsr_ = dsr;
    }
  }
  if (counts_) {
    if (const auto now = tty::interruptCounts(fd_)) {
      if (now->frame > counts_->frame) events_.push_back(comm::Frame);
      if (now->overrun > counts_->overrun) events_.push_back(comm::Overrun);
      // Catches a pulse that came and went between two looks.
      dsrChanged = dsrChanged || now->dsr != counts_->dsr;
      counts_ = now;
    }
  }
  if (dsrChanged) events_.push_back(comm::EvDSR);
}

std::vector<int> PosixSerialPort::takeLineEvents() {
  if (!isOpen()) return {};
  if (!pull()) checkLineCounters();
  checkLinkStillLeadsHere();
  // However the failure was met (a read, a write, a wait), it is told once.
  if (ioError_ != 0 && !lostReported_) {
    events_.push_back(comm::PortLost);
    lostReported_ = true;
  }
  std::vector<int> taken = std::exchange(events_, {});
  if (!taken.empty()) lastEvent_ = taken.back();
  return taken;
}

}  // namespace zr
