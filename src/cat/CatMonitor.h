#pragma once
// What the CAT monitor lists: the distinct requests the port did not answer
// (or answered "?;") over the last few seconds, so the probes a station
// program sends on opening stay visible beside its steady polling.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace zr {

class CatMonitor {
 public:
  // Long enough for a station program's opening exchange, short enough that
  // a request from an earlier program does not linger.
  static constexpr double kWindowSeconds = 10.0;
  // A flood of distinct garbage must not grow the list; only a few show.
  static constexpr std::size_t kMaxKept = 32;

  // `requests` went unanswered at `now` (time of day, seconds).
  void add(const std::vector<std::string>& requests, double now);
  // Distinct, the most recently seen last; empty until add() is called.
  std::vector<std::string> recent() const;

 private:
  std::vector<std::pair<std::string, double>> seen_;
};

}  // namespace zr
