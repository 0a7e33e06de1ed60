#pragma once
// One station program's connection, without the socket: bytes in, answers
// out. Queries are answered at once from the panel's published state and
// the settings still on their way. A setting that passes the checks made
// at once is answered at once and handed to the panel, which carries the
// settings out in arrival order; keying is answered when the engine has
// taken it, so the client's later commands wait behind it. A client that
// stops reading, floods, or speaks something else only harms itself.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "netctl/RigBackend.h"
#include "netctl/RigCommand.h"
#include "netctl/RigReply.h"
#include "netctl/SettingsInFlight.h"

namespace zr {

class RigSession {
 public:
  // `wake` tells the server a ticket of this session has its result.
  // `inFlight` is shared by the server's sessions; null: one of its own.
  RigSession(RigBackend& backend, int id, std::function<void()> wake,
             std::shared_ptr<SettingsInFlight> inFlight = nullptr);

  // A command line longer than this is not the dialect: the client is dropped.
  static constexpr std::size_t kMaxLine = 1024;
  // Unread input kept while a setting is on its way; beyond it, reading stops.
  static constexpr std::size_t kMaxBuffered = 64 * 1024;
  // How long a client waits for the engine to take a key or unkey before a
  // key is withdrawn and "timed out" answered...
  static constexpr double kSettingDeadline = 1.0;
  // ...and for one the engine has taken to be answered (a key waits for the
  // settings queued before it).
  static constexpr double kCarryOutLimit = 3.0;

  int id() const { return id_; }
  void receive(std::string_view bytes);
  // The client sends no more: what it sent is still answered, then the
  // session closes.
  void endOfInput() { inputEnded_ = true; }
  // Answers what can be answered; `now` in seconds on a steady clock.
  void advance(double now);

  std::string& output() { return output_; }
  bool closing() const { return closing_; }
  // Its last key command keyed: it may hold the transmitter.
  bool keying() const { return keying_; }
  bool wantsInput() const { return !closing_ && !inputEnded_ && buffer_.size() < kMaxBuffered; }
  std::optional<double> deadline() const;

 private:
  struct Pending {
    RigLine line;
    std::shared_ptr<RigTicket> ticket;
    double deadline;  // for the engine to take it
    double limit;     // for its result
    bool withdrawable;
  };

  // True once the pending setting is answered.
  bool settlePending(double now);
  void handle(RigLine line, double now);
  void reply(const RigLine& line, const RigReply& reply);
  // The reply to a query; nullopt for a setting.
  std::optional<RigReply> query(const RigCommand& c, const RigStateSnapshot& view);
  // A setting's answer when the session can give it; else the settings for
  // the panel in `out`.
  std::optional<RigReply> settle(const RigCommand& c, const RigStateSnapshot& view, std::vector<RigSetting>& out);
  bool onVfoB(RigVfo vfo, const RigStateSnapshot& view) const;
  RigStateSnapshot currentView(double now) const;
  RigReply modeOf(bool vfoB, const RigStateSnapshot& view) const;

  RigBackend& backend_;
  int id_;
  std::function<void()> wake_;
  std::string buffer_;
  std::string output_;
  std::optional<Pending> pending_;
  bool closing_ = false;
  bool inputEnded_ = false;
  bool keying_ = false;
  std::shared_ptr<SettingsInFlight> inFlight_;
  RigVfo current_ = RigVfo::A;  // the VFO this client's f/F/m/M refer to
  // This client asked for a data mode on VFO A / VFO B: it reads back the
  // name it set while the transceiver stays on that sideband.
  bool dataMode_[2] = {false, false};
};

}  // namespace zr
