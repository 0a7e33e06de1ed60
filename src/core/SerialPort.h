#pragma once
// The serial-port control the program is written against: configured through
// properties, opened, polled for input and line events. Implementations: the
// POSIX termios backend and the virtual-time fake used by tests and the
// in-process simulator. Errors are thrown as RuntimeError.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

enum class Handshaking { None, RtsCts };

// Event codes as the program reads them from CommEvent.
namespace comm {
inline constexpr int EvSend = 1;
inline constexpr int EvReceive = 2;
inline constexpr int EvCTS = 3;
inline constexpr int EvDSR = 4;
inline constexpr int EvCD = 5;
inline constexpr int EvRing = 6;
inline constexpr int EvEOF = 7;
inline constexpr int Break = 1001;
inline constexpr int CTSTimeout = 1002;
inline constexpr int DSRTimeout = 1003;
inline constexpr int Frame = 1004;
inline constexpr int Overrun = 1006;
inline constexpr int CDTimeout = 1007;
inline constexpr int RxOver = 1008;
inline constexpr int RxParity = 1009;
inline constexpr int TxFull = 1010;
inline constexpr int DCB = 1011;
// Our own: the port hung up or failed (a device unplugged, the far end of a
// pseudo-terminal gone); it is unusable until closed and opened again.
inline constexpr int PortLost = 1100;

// The errors the program reports as a line error of its port.
inline constexpr bool isLineError(int code) {
  return code == Frame || code == Overrun || code == RxOver || code == RxParity || code == TxFull || code == DCB;
}
}  // namespace comm

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Properties; the configuration ones take effect at the next open().
  virtual void setCommPort(int n) = 0;
  virtual int commPort() const = 0;
  // "baud,parity,bits,stop", e.g. "9600,O,7,1"; blanks around fields allowed.
  // Throws on text it cannot use.
  virtual void setSettings(const std::string& settings) = 0;
  virtual std::string settings() const = 0;
  virtual void setHandshaking(Handshaking h) = 0;
  virtual Handshaking handshaking() const = 0;
  virtual void setInBufferSize(int bytes) = 0;
  virtual void setOutBufferSize(int bytes) = 0;
  virtual void setNullDiscard(bool on) = 0;
  virtual void setParityReplace(const std::string& replacement) = 0;
  // Receive event (comm::EvReceive) once at least n bytes wait; 0 = never.
  virtual void setRThreshold(int n) = 0;
  // RTS and DTR: may be changed while open.
  virtual void setRTSEnable(bool on) = 0;
  virtual void setDTREnable(bool on) = 0;
  virtual bool dtrEnable() const = 0;

  // PortOpen = True. Decides afresh which device the port number leads to
  // (the operator's choice: Apply, the program's start).
  virtual void open() = 0;
  // Decides now, as open() would, which device port n leads to, without
  // opening it; reopen() keeps to that decision.
  virtual void chooseDevice(int /*portNumber*/) {}
  // open() for a recovery: to the device last decided on for this port
  // number, never exchanged for another one (a missing COMn link fails the
  // open and is waited for). Decides as open() when nothing was decided.
  virtual void reopen() { open(); }
  // True when the device reopen() would use is there now; a cheap look
  // that opens nothing, for noticing when it comes back.
  virtual bool deviceReady() const { return true; }
  virtual void close() = 0;  // PortOpen = False; never throws
  virtual bool isOpen() const = 0;

  virtual int inBufferCount() = 0;   // bytes waiting to be read
  virtual void discardInput() = 0;   // InBufferCount = 0
  virtual int outBufferCount() = 0;  // bytes waiting to be sent
  virtual std::string input() = 0;   // read everything waiting
  virtual void output(std::string_view text) = 0;
  virtual bool dsrHolding() = 0;

  // Block until more bytes arrive than were waiting at the call, or the
  // timeout passes; true when new bytes arrived. Never spins.
  virtual bool waitForInput(double timeoutSeconds) = 0;

  // Called, from any thread, whenever input may have arrived, so that an
  // engine blocked on its clock wakes at once; it must only wake. Takes
  // effect at the next open().
  virtual void setInputNotifier(std::function<void()> notify) = 0;

  // Line events (breaks, errors, DSR changes, receive events) noticed since
  // the last call, oldest first. Called at pump points. A receive event
  // never outlives the bytes it announced: reading or discarding the input
  // drops the receive events still queued.
  virtual std::vector<int> takeLineEvents() = 0;
  // The code of the last line event taken (CommEvent).
  virtual int commEvent() const = 0;

  // Why the port is unusable, naming it, after comm::PortLost; empty while
  // it works.
  virtual std::string failure() const { return {}; }

  // The system's descriptor of the open port, for a last-resort write from
  // a fatal-signal handler; -1 when there is none.
  virtual int descriptor() const { return -1; }
};

// Opens and closes port n without configuring it: true when it exists and
// can be opened now.
class PortProbe {
 public:
  virtual ~PortProbe() = default;
  virtual bool exists(int portNumber) = 0;
};

}  // namespace zr
