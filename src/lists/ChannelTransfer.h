#pragma once
// The channel setup window's runs against the transceiver. Load asks for
// channels 00-99 ("Lnn") and keeps each channel's own record; Store sends the
// list ("P" + record); Verify reads the list's channels back and says what
// differs. Every request is followed by its fixed wait, during which the
// windows stay live; a stop takes effect once the channel in progress is
// done. Every record names its channel, so one that comes after its wait is
// still taken for that channel. The transceiver's channel lines are consumed
// here: none of them reaches the main window's VFO A.
#include <optional>
#include <set>
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

  // The list was replaced: what Verify found was about the old one.
  void forgetVerify();

 private:
  class Capture;

  void begin();
  void progress(const char* run, std::size_t n, std::size_t total);
  void send(const std::string& command);
  // "L" + channel, its wait, and the reply read if one has begun: the
  // records that came, each for a channel asked in this run and not
  // answered yet (this one or an earlier, slow one). Other channel lines
  // are refused.
  std::vector<std::string> readChannel(const std::string& channel);
  // After the last request: its reply, unless it has come, gets the link's
  // reply timeout to arrive. The records that came meanwhile.
  std::vector<std::string> lastReplies();
  // The captured lines sorted into records taken and lines refused.
  std::vector<std::string> creditReplies();
  // Decodes the complete lines waiting now; a partial one waits for the rest.
  void drainReplies();
  void settleReplies(const std::string& lastEcho);

  Panel& p_;
  ChannelSetupWindowModel& m_;
  bool stopRequested_ = false;
  std::vector<std::string> lines_;     // channel lines captured and not yet looked at
  std::set<std::string> unanswered_;   // channels asked in this run without a record yet
  std::string lastAsked_;
  std::string partial_;                // Store: a reply line still incomplete
  std::vector<std::string> refusedAt_; // channels whose read brought a refused line
  std::string verifyOutcome_;          // Verify's summary, while txtResp may show it
};

}  // namespace zr
