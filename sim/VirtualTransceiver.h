#pragma once
// The simulated transceiver wired to a FakeSerialPort in virtual time: what
// the program writes reaches the model at the virtual time of the write, and
// every answer chunk is delivered to the port at the virtual time its last
// byte leaves the line (baud-paced, so the reader's quiet gap behaves as on a
// real line). Answers follow the port's own settings text; if that text is
// unusable the last usable one (first: 9600,N,8,1) stays in force.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/FakeClock.h"
#include "core/FakeSerialPort.h"
#include "sim/SerialLine.h"

namespace sim {

struct ReceivedCommand {
  double time;  // FakeClock::elapsed()
  std::string text;
};

class VirtualTransceiver {
 public:
  VirtualTransceiver(zr::FakeSerialPort& port, zr::FakeClock& clock, int firmware = 2);
  ~VirtualTransceiver();
  VirtualTransceiver(const VirtualTransceiver&) = delete;
  VirtualTransceiver& operator=(const VirtualTransceiver&) = delete;

  Transceiver& model() { return line_.model(); }
  SerialLine& line() { return line_; }
  Faults& faults() { return line_.faults(); }
  // Every command the program sent, with its virtual time.
  const std::vector<ReceivedCommand>& commands() const { return *commands_; }
  // Forgets the commands so far (a long fuzz run keeps one transceiver).
  void clearCommands() { commands_->clear(); }

  // Line noise, delivered as soon as the line is free.
  void sendGarbage(std::string_view bytes);
  // The operator takes or hands back control at the radio's front panel; the
  // new "R" line goes out with the next answer.
  void setRemoteControl(bool remote) { model().setRemoteControl(remote); }

 private:
  void onWrite(std::string_view bytes);
  void schedule(const std::vector<Chunk>& chunks);
  void schedulePoll();

  zr::FakeSerialPort& port_;
  zr::FakeClock& clock_;
  SerialLine line_;
  std::shared_ptr<std::vector<ReceivedCommand>> commands_ = std::make_shared<std::vector<ReceivedCommand>>();
  // Events already on the clock check this before touching a destroyed object.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace sim
