#pragma once
// Cuts the byte stream the panel writes into commands, the way the
// transceiver's firmware reads it:
//  - a line feed ends a command (the line feed is not part of it; empty
//    commands are dropped);
//  - "U" or "K" at the start of a command is a sync character, complete at
//    once (the panel sends them without a line feed);
//  - a lone "'" (the PTT-enable toggle of the step firmware, sent without a
//    line feed) is complete when the next byte is not "0"/"1", or when no byte
//    follows within a short quiet time;
//  - a command that grows past a sane length is garbage and is dropped up to
//    the next line feed.
// Writes may arrive in any pieces; the result does not depend on where the
// stream was cut, except for the quiet time of the lone "'".
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class CommandSplitter {
 public:
  explicit CommandSplitter(double quoteQuietTime = 0.02, std::size_t maxLength = 64)
      : quiet_(quoteQuietTime), maxLength_(maxLength) {}

  // Bytes arriving at `now`; returns the commands they complete, in order.
  std::vector<std::string> push(std::string_view bytes, double now);
  // A lone "'" whose quiet time has passed by `now`, if any.
  std::vector<std::string> expire(double now);
  // When expire() will next have something to do.
  std::optional<double> deadline() const;

 private:
  bool loneQuote() const { return buffer_ == "'" && !overflow_; }

  double quiet_;
  std::size_t maxLength_;
  std::string buffer_;
  bool overflow_ = false;
  double lastByteAt_ = 0;
};

}  // namespace sim
