#include "sim/CommandSplitter.h"

namespace sim {

std::vector<std::string> CommandSplitter::push(std::string_view bytes, double now) {
  std::vector<std::string> done;
  for (char c : bytes) {
    if (loneQuote() && c != '0' && c != '1') {
      done.push_back(buffer_);
      buffer_.clear();
      if (c == '\n') continue;  // "'" + line feed is the same lone toggle
    }
    if (c == '\n') {
      if (!buffer_.empty() && !overflow_) done.push_back(buffer_);
      buffer_.clear();
      overflow_ = false;
    } else if (buffer_.empty() && !overflow_ && (c == 'U' || c == 'K')) {
      done.emplace_back(1, c);
    } else if (buffer_.size() >= maxLength_) {
      overflow_ = true;
      buffer_.clear();
    } else if (!overflow_) {
      buffer_.push_back(c);
    }
  }
  if (!bytes.empty()) lastByteAt_ = now;
  return done;
}

std::vector<std::string> CommandSplitter::expire(double now) {
  if (!loneQuote() || now < lastByteAt_ + quiet_) return {};
  buffer_.clear();
  return {"'"};
}

std::optional<double> CommandSplitter::deadline() const {
  if (!loneQuote()) return std::nullopt;
  return lastByteAt_ + quiet_;
}

}  // namespace sim
