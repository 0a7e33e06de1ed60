#include "lists/ScanFrequency.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "core/Convert.h"

namespace zr {

namespace {
constexpr int kMaxDwell = 32767;
}  // namespace

std::optional<std::string> sevenCharacters(std::string_view mhz) {
  std::string seven(7, '0');
  std::size_t at = mhz.size() > 1 && mhz[1] == '.' ? 1 : 0;
  for (char c : mhz) {
    if (c == '.') continue;
    if (at >= seven.size()) return std::nullopt;
    seven[at++] = c;
  }
  return seven;
}

long mhzToDigits(std::string_view mhz) {
  const auto seven = sevenCharacters(mhz);
  return seven ? static_cast<long>(vbVal(*seven)) : 0;
}

std::optional<std::string> rowFrequencyCommand(std::string_view mhz) {
  const auto seven = sevenCharacters(mhz);
  if (!seven || !allDigits(*seven, 7)) return std::nullopt;
  const long value = std::stol(*seven);
  if (value < kScanLowest || value > kScanHighest) return std::nullopt;
  return "F" + *seven;
}

std::string frequencyCommand(long tenHz) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "F%07ld", tenHz);
  return buf;
}

std::string modeCodeFor(std::string_view modeName) {
  std::string upper(modeName);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (upper == "USB") return "M1";
  if (upper == "LSB") return "M2";
  if (upper == "AME" || upper == "AM") return "M3";
  if (upper == "CW") return "M4";
  return {};
}

int dwellSeconds(std::string_view text) {
  const double v = std::nearbyint(vbVal(std::string(text)));
  if (!(v >= 1)) return 1;  // below 1, or not a number at all
  return v > kMaxDwell ? kMaxDwell : static_cast<int>(v);
}

}  // namespace zr
