#pragma once
// The termios backend behind SerialPort. Input is read from the device into
// our own buffer whenever a call needs it, decoded from PARMRK marking into
// data and line events. Runs on one thread (the engine's).
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/SerialPort.h"
#include "core/serial/InputWatcher.h"
#include "core/serial/MarkedInputDecoder.h"
#include "core/serial/PortMapping.h"
#include "core/serial/PortSettings.h"
#include "core/serial/Tty.h"

namespace zr {

class PosixSerialPort final : public SerialPort {
 public:
  // `mappingDir`: where COMn links are looked for; empty = the working
  // directory at open(). `fallbackPrefix`: the built-in devices' names
  // without the number.
  explicit PosixSerialPort(std::filesystem::path mappingDir = {}, std::string fallbackPrefix = "/dev/ttyS");
  ~PosixSerialPort() override;
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  void setCommPort(int n) override;
  int commPort() const override { return port_; }
  void setSettings(const std::string& settings) override;
  std::string settings() const override { return settingsText_; }
  void setHandshaking(Handshaking h) override { handshaking_ = h; }
  Handshaking handshaking() const override { return handshaking_; }
  void setInBufferSize(int bytes) override;
  void setOutBufferSize(int bytes) override;
  void setNullDiscard(bool on) override;
  void setParityReplace(const std::string& replacement) override;
  void setRThreshold(int n) override;
  void setRTSEnable(bool on) override;
  void setDTREnable(bool on) override;
  bool dtrEnable() const override { return dtr_; }

  void open() override;
  void chooseDevice(int portNumber) override;
  void reopen() override;
  bool deviceReady() const override;
  void close() override;
  bool isOpen() const override { return fd_ >= 0; }

  int inBufferCount() override;
  void discardInput() override;
  int outBufferCount() override;
  std::string input() override;
  void output(std::string_view text) override;
  bool dsrHolding() override;
  bool waitForInput(double timeoutSeconds) override;
  std::vector<int> takeLineEvents() override;
  int commEvent() const override { return lastEvent_; }
  int descriptor() const override { return fd_; }
  std::string failure() const override;
  void setInputNotifier(std::function<void()> notify) override { notify_ = std::move(notify); }

  // What the port number maps to, for messages ("COM3 -> /dev/ttyUSB0").
  std::string deviceDescription() const;

 private:
  void requireOpen() const;
  void requireHealthy() const;
  void fail(int errnoValue);
  // Read everything the device has; never throws, records a failure.
  // Returns true when the device reported a hangup or error.
  bool pull();
  void store(MarkedInputDecoder::Result decoded);
  void forgetReceiveEvents();
  void checkLineCounters();
  void applyModemLine(int line, bool on);
  void openRoute();
  const PortRoute& route();
  void checkLinkStillLeadsHere();

  std::filesystem::path dir_;
  std::string fallbackPrefix_;
  std::optional<PortRoute> route_;  // decided at the operator's choice
  int fd_ = -1;
  int port_ = 1;
  std::string settingsText_ = "9600,N,8,1";
  PortSettings settings_;
  Handshaking handshaking_ = Handshaking::None;
  int inBufferSize_ = 1024;
  int outBufferSize_ = 512;
  int rThreshold_ = 0;
  bool rts_ = false;
  bool dtr_ = false;

  MarkedInputDecoder decoder_;
  std::string inbuf_;
  bool unsignalledInput_ = false;  // bytes arrived since the last receive event
  bool overflowing_ = false;       // RxOver raised; again only after a read
  std::vector<int> events_;
  int lastEvent_ = 0;
  int ioError_ = 0;  // errno of a device failure; the port is unusable
  bool linkMoved_ = false;  // the failure: the COMn link leads elsewhere now
  std::chrono::steady_clock::time_point lastLinkLook_{};
  bool lostReported_ = false;
  bool hasModemLines_ = false;
  bool lastDsr_ = true;
  std::optional<tty::Counts> counts_;
  std::function<void()> notify_;
  std::unique_ptr<InputWatcher> watcher_;  // while open, when there is someone to notify
};

}  // namespace zr
