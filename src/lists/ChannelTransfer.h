#pragma once
// The channel setup window's runs against the transceiver. Load asks for
// channels 00-99 ("Lnn") and keeps each channel's own record; Store sends the
// list ("P" + record); Verify reads the list's channels back and says what
// differs. Every request is followed by its fixed wait, during which the
// windows stay live; a stop takes effect once the channel in progress is
// done. The transceiver's channel lines are consumed here: none of them
// reaches the main window's VFO A.
#include <optional>
#include <string>
#include <vector>

namespace zr {

class Panel;
struct ChannelSetupWindowModel;

class ChannelTransfer {
 public:
  static constexpr double kWait = 0.25;
  static constexpr int kChannels = 100;

  ChannelTransfer(Panel& panel, ChannelSetupWindowModel& model) : p_(panel), m_(model) {}
  ChannelTransfer(const ChannelTransfer&) = delete;
  ChannelTransfer& operator=(const ChannelTransfer&) = delete;

  // Each returns its outcome for the operator. A port that fails or closes
  // ends the run with a RuntimeError.
  std::string load();
  std::string store();
  std::string verify();

  // Ends the run in progress after its current channel.
  void requestStop() { stopRequested_ = true; }

 private:
  class Capture;

  void begin();
  void progress(const char* run, std::size_t n, std::size_t total);
  void send(const std::string& command);
  // "L" + channel, its wait and read: the record that came back for exactly
  // that channel, if any. Other channel lines are refused.
  std::optional<std::string> readChannel(const std::string& channel);
  // Decodes the complete lines waiting now; a partial one waits for the rest.
  void drainReplies();
  void settleReplies(const std::string& lastEcho);

  Panel& p_;
  ChannelSetupWindowModel& m_;
  bool stopRequested_ = false;
  std::vector<std::string> lines_;     // channel lines captured since the last request
  std::string partial_;                // Store: a reply line still incomplete
  std::vector<std::string> refusedAt_; // channels whose read brought a refused line
};

}  // namespace zr
