#pragma once
// The transceiver's end of the serial line, still without any I/O: it splits
// what arrives into commands, lets the model answer, and times every answer
// byte as the UART would send it: after a processing delay, one character
// time per byte (start + data + parity + stop bits at the baud rate), never
// two answers at once. It also injects the misbehaviour tests need.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/CommandSplitter.h"
#include "sim/LineSettings.h"
#include "sim/Transceiver.h"

namespace sim {

// Bytes that have fully left the transmitter at `time`.
struct Chunk {
  double time;
  std::string bytes;
};

struct Faults {
  bool silent = false;         // commands are received but neither obeyed nor answered
  double extraDelay = 0;       // added to the processing delay of every answer
  std::size_t splitAfter = 0;  // > 0: every answer pauses after this many bytes...
  double splitGap = 0;         // ...for this long
};

class SerialLine {
 public:
  explicit SerialLine(int firmware = 2, LineSettings settings = {});

  // Bytes from the panel arriving at `now`; returns the answer bytes they
  // cause, in order of leaving.
  std::vector<Chunk> receive(std::string_view bytes, double now);
  // Serve commands completed by quiet time; call at nextDeadline().
  std::vector<Chunk> poll(double now);
  std::optional<double> nextDeadline() const { return splitter_.deadline(); }
  // Unasked bytes (line noise), sent as soon as the line is free.
  std::vector<Chunk> sendGarbage(std::string_view bytes, double now);

  Transceiver& model() { return model_; }
  Faults& faults() { return faults_; }
  void setSettings(const LineSettings& s) { settings_ = s; }
  const LineSettings& settings() const { return settings_; }
  void setProcessingDelay(double seconds) { processingDelay_ = seconds; }
  // Called with every command as received (without its line feed).
  void onCommand(std::function<void(double, const std::string&)> f) { onCommand_ = std::move(f); }

 private:
  std::vector<Chunk> serve(const std::vector<std::string>& commands, double now);
  void transmit(const std::string& bytes, double readyAt, bool answer, std::vector<Chunk>& out);

  Transceiver model_;
  CommandSplitter splitter_;
  LineSettings settings_;
  Faults faults_;
  double processingDelay_ = 0.005;
  double lineFreeAt_ = 0;
  std::function<void(double, const std::string&)> onCommand_;
};

}  // namespace sim
