#include "core/FakeSerialPort.h"

#include <algorithm>

#include "core/Errors.h"

namespace zr {

void FakeSerialPort::setCommPort(int n) {
  if (open_) throw RuntimeError(err::PortAlreadyOpen);
  if (n < 1 || n > 255) throw RuntimeError(err::InvalidPortNumber);
  port_ = n;
}

void FakeSerialPort::open() {
  if (open_) throw RuntimeError(err::PortAlreadyOpen);
  openAttempts_.push_back(clock_.elapsed());
  if (!present_) throw RuntimeError(err::PortUnavailable, "No such file or directory");
  if (failOpen_) throw RuntimeError(failOpen_);
  open_ = true;
  failure_.clear();
  ++opens_;
}

void FakeSerialPort::chooseDevice(int portNumber) {
  if (portNumber < 1 || portNumber > 255) throw RuntimeError(err::InvalidPortNumber);
  choices_.push_back(portNumber);
}

void FakeSerialPort::reopen() {
  ++reopens_;
  open();
}

void FakeSerialPort::requireOpen() const {
  if (!open_) throw RuntimeError(err::PortNotOpen);
}

void FakeSerialPort::requireHealthy() const {
  requireOpen();
  if (!failure_.empty()) throw RuntimeError(err::DeviceIoError, failure_);
}

void FakeSerialPort::hangUp(const std::string& reason) {
  if (!open_) return;
  failure_ = reason;
  events_.push_back(comm::PortLost);
  clock_.wake();
}

void FakeSerialPort::deliver(std::string_view bytes) {
  if (!open_ || !failure_.empty()) return;  // nobody listens on a closed port
  bool added = false;
  for (char c : bytes) {
    if (c == '\0' && nullDiscard_) continue;
    inbuf_.push_back(c);
    added = true;
  }
  log_.push_back({clock_.elapsed(), false, std::string(bytes)});
  if (added && rThreshold_ > 0 && static_cast<int>(inbuf_.size()) >= rThreshold_) events_.push_back(comm::EvReceive);
  wakeWaiter();
}

// As on a real port: input wakes whoever waits (the engine's clock).
void FakeSerialPort::wakeWaiter() {
  if (notify_) notify_();
  else clock_.wake();
}

void FakeSerialPort::deliverParityError() {
  if (!open_) return;
  inbuf_ += parityReplace_;
  events_.push_back(comm::RxParity);
  wakeWaiter();
}

void FakeSerialPort::raiseLineEvent(int code) {
  events_.push_back(code);
  wakeWaiter();
}

void FakeSerialPort::setDsr(bool holding) {
  if (holding == dsr_) return;
  dsr_ = holding;
  if (open_) events_.push_back(comm::EvDSR);
}

int FakeSerialPort::inBufferCount() {
  requireHealthy();
  return static_cast<int>(inbuf_.size());
}

void FakeSerialPort::discardInput() {
  requireHealthy();
  inbuf_.clear();
  std::erase(events_, comm::EvReceive);
}

int FakeSerialPort::outBufferCount() {
  requireHealthy();
  return outCount_;
}

std::string FakeSerialPort::input() {
  requireHealthy();
  if (failIo_) throw RuntimeError(failIo_);
  std::string all;
  all.swap(inbuf_);
  std::erase(events_, comm::EvReceive);
  return all;
}

void FakeSerialPort::output(std::string_view text) {
  requireHealthy();
  if (failIo_) throw RuntimeError(failIo_);
  log_.push_back({clock_.elapsed(), true, std::string(text)});
  if (peer_) peer_(text);
}

bool FakeSerialPort::waitForInput(double timeoutSeconds) {
  requireHealthy();
  const std::size_t before = inbuf_.size();
  const bool woke =
      clock_.advanceUntil([&] { return !open_ || !failure_.empty() || inbuf_.size() > before; }, timeoutSeconds);
  if (open_ && !failure_.empty()) throw RuntimeError(err::DeviceIoError, failure_);
  return woke && open_;
}

std::vector<int> FakeSerialPort::takeLineEvents() {
  std::vector<int> out;
  out.swap(events_);
  if (!out.empty()) lastEvent_ = out.back();
  return out;
}

std::string FakeSerialPort::written() const {
  std::string all;
  for (const auto& e : log_)
    if (e.toRadio) all += e.bytes;
  return all;
}

}  // namespace zr
