#pragma once
// Bounds every transmission: once the transmitter has been keyed without a
// break for the operator's limit, whatever keeps it keyed is ended the way
// its own release would end it, with a beep and a line in the information
// box. The count follows the link's key latch, so every keying path counts,
// and a new key after an unkey starts a new count.
#include <string>

namespace zr {

class Panel;

class TransmitTimeout {
 public:
  // Registers the watch with the engine; the limit is Settings::txTimeoutSeconds.
  explicit TransmitTimeout(Panel& panel);

  // Seconds until the transmission under way reaches the limit (0 when it
  // has); negative when nothing is counted (receiving, no limit, no port).
  double secondsLeft() const;
  // Ends the transmission under way if it has reached the limit.
  void expire();

  // "Transmit time-out: unkeyed after 10 min"
  static std::string message(int seconds);

 private:
  // Run at every pump and wait: wakes the engine at the limit and queues
  // expire() for the next pump, where the ending may talk to the radio.
  double watch();

  Panel& p_;
  double queuedFor_ = -1;  // start of the keyed run whose expire() is queued
};

}  // namespace zr
