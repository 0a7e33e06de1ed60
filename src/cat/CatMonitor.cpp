#include "cat/CatMonitor.h"

#include <algorithm>

#include "core/Clock.h"

namespace zr {

void CatMonitor::add(const std::vector<std::string>& requests, double now) {
  std::erase_if(seen_, [now](const auto& e) { return secondsSince(e.second, now) > kWindowSeconds; });
  for (const std::string& r : requests) {
    std::erase_if(seen_, [&r](const auto& e) { return e.first == r; });
    seen_.emplace_back(r, now);
  }
  if (seen_.size() > kMaxKept) seen_.erase(seen_.begin(), seen_.end() - static_cast<std::ptrdiff_t>(kMaxKept));
}

std::vector<std::string> CatMonitor::recent() const {
  std::vector<std::string> out;
  out.reserve(seen_.size());
  for (const auto& e : seen_) out.push_back(e.first);
  return out;
}

}  // namespace zr
