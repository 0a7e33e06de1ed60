#pragma once
// One station program's connection, without the socket: bytes in, answers
// out. Queries are answered at once from the panel's published state;
// a setting is handed to the panel and answered when the engine has taken
// it, so the client's later commands wait behind it, in order. A client
// that stops reading, floods, or speaks something else only harms itself.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "netctl/RigBackend.h"
#include "netctl/RigCommand.h"
#include "netctl/RigReply.h"

namespace zr {

class RigSession {
 public:
  // `wake` tells the server a ticket of this session has its result.
  RigSession(RigBackend& backend, int id, std::function<void()> wake);

  // A command line longer than this is not the dialect: the client is dropped.
  static constexpr std::size_t kMaxLine = 1024;
  // Unread input kept while a setting is on its way; beyond it, reading stops.
  static constexpr std::size_t kMaxBuffered = 64 * 1024;
  // How long a client waits for the engine to take a setting before the
  // setting is withdrawn and "timed out" answered...
  static constexpr double kSettingDeadline = 1.0;
  // ...and for one the engine has taken to be carried out (a frequency or a
  // mode waits for the transceiver's reply).
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
  // A setting the session can answer itself; nullopt when it goes to the engine.
  std::optional<RigReply> settle(const RigCommand& c, RigSetting& setting);
  bool onVfoB(RigVfo vfo, const RigStateSnapshot& view) const;

  RigBackend& backend_;
  int id_;
  std::function<void()> wake_;
  std::string buffer_;
  std::string output_;
  std::optional<Pending> pending_;
  bool closing_ = false;
  bool inputEnded_ = false;
  RigVfo current_ = RigVfo::A;  // the VFO this client's f/F/m/M refer to
};

}  // namespace zr
