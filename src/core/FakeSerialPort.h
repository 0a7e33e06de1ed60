#pragma once
// A serial port in virtual time. What the program writes goes to a peer
// callback (the in-process simulator, or a test), and what the peer delivers
// appears in the input buffer at the virtual time it is delivered. Every write
// and delivery is kept in a wire log with its virtual time.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/FakeClock.h"
#include "core/SerialPort.h"

namespace zr {

struct WireEntry {
  double time;      // FakeClock::elapsed() when it happened
  bool toRadio;     // true: written by the program; false: delivered by the peer
  std::string bytes;
};

class FakeSerialPort final : public SerialPort {
 public:
  explicit FakeSerialPort(FakeClock& clock) : clock_(clock) {}

  // --- the peer's side ---
  // Called with each write the program makes (after the write is logged).
  void setPeer(std::function<void(std::string_view)> onWrite) { peer_ = std::move(onWrite); }
  // Bytes arrive in the input buffer now (NUL discard applies). '\xff' bytes
  // are data; parity errors are injected with deliverParityError().
  void deliver(std::string_view bytes);
  void deliverParityError();  // one byte received with a parity error
  // Marked bytes on a real port: they wake whoever waits, as input does.
  void raiseLineEvent(int code);
  void setDsr(bool holding);
  void setOutBufferCount(int n) { outCount_ = n; }  // simulate a stuck send buffer
  void setFailOpen(int errorNumber) { failOpen_ = errorNumber; }  // 0 = opens
  // The device (a COMn link's target) is gone: opening fails and
  // deviceReady() is false until it is back. Nobody is told.
  void setDevicePresent(bool present) { present_ = present; }
  // When set, a write throws this error (a port that vanished).
  void setFailIo(int errorNumber) { failIo_ = errorNumber; }
  // The device goes away: comm::PortLost is raised and every use but
  // close() throws `reason` until the port is opened again.
  void hangUp(const std::string& reason);

  const std::vector<WireEntry>& wireLog() const { return log_; }
  // Everything the program wrote, concatenated.
  std::string written() const;
  void clearLog() { log_.clear(); }
  bool rtsEnable() const { return rts_; }
  int opens() const { return opens_; }
  // When open() or reopen() was called, successful or not (FakeClock::elapsed()).
  const std::vector<double>& openAttempts() const { return openAttempts_; }
  // How many of those were reopen(), and the ports chooseDevice() was told.
  int reopens() const { return reopens_; }
  const std::vector<int>& choices() const { return choices_; }

  // --- SerialPort ---
  void setCommPort(int n) override;
  int commPort() const override { return port_; }
  void setSettings(const std::string& s) override { settings_ = s; }
  std::string settings() const override { return settings_; }
  void setHandshaking(Handshaking h) override { handshaking_ = h; }
  Handshaking handshaking() const override { return handshaking_; }
  void setInBufferSize(int) override {}
  void setOutBufferSize(int) override {}
  void setNullDiscard(bool on) override { nullDiscard_ = on; }
  void setParityReplace(const std::string& r) override { parityReplace_ = r; }
  void setRThreshold(int n) override { rThreshold_ = n; }
  void setRTSEnable(bool on) override { rts_ = on; }
  void setDTREnable(bool on) override { dtr_ = on; }
  bool dtrEnable() const override { return dtr_; }
  void open() override;
  void chooseDevice(int portNumber) override;
  void reopen() override;
  bool deviceReady() const override { return present_; }
  void close() override { open_ = false; }
  bool isOpen() const override { return open_; }
  int inBufferCount() override;
  void discardInput() override;
  int outBufferCount() override;
  std::string input() override;
  void output(std::string_view text) override;
  bool dsrHolding() override { return dsr_; }
  bool waitForInput(double timeoutSeconds) override;
  std::vector<int> takeLineEvents() override;
  int commEvent() const override { return lastEvent_; }
  std::string failure() const override { return failure_; }
  void setInputNotifier(std::function<void()> notify) override { notify_ = std::move(notify); }

 private:
  void requireOpen() const;
  void requireHealthy() const;
  void wakeWaiter();

  FakeClock& clock_;
  std::function<void(std::string_view)> peer_;
  std::function<void()> notify_;
  std::vector<WireEntry> log_;
  std::string inbuf_;
  std::vector<int> events_;
  int port_ = 1;
  std::string settings_ = "9600,N,8,1";
  Handshaking handshaking_ = Handshaking::None;
  bool nullDiscard_ = false;
  std::string parityReplace_ = "?";
  int rThreshold_ = 0;
  bool rts_ = false;
  bool dtr_ = false;
  bool dsr_ = true;
  bool open_ = false;
  int outCount_ = 0;
  int failOpen_ = 0;
  int failIo_ = 0;
  int opens_ = 0;
  int reopens_ = 0;
  bool present_ = true;
  std::vector<int> choices_;
  std::vector<double> openAttempts_;
  int lastEvent_ = 0;
  std::string failure_;
};

}  // namespace zr
