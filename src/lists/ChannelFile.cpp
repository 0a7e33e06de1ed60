#include "lists/ChannelFile.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/TextFile.h"

namespace zr {

namespace {

constexpr long kLowest = 160000;    // 1 600.00 kHz
constexpr long kHighest = 2999999;  // 29 999.99 kHz

// File names of the modes by digit; the reader takes the first letter only.
constexpr std::array<const char*, 4> kModeNames = {"USB", "LSB", "AM", "CW"};
constexpr std::string_view kModeLetters = "ULAC";

bool digits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

bool digits(std::string_view s, std::size_t n) { return s.size() == n && digits(s); }

// "#####.##" or "####.##" as seven digits; nothing for any other text.
std::optional<std::string> frequencyDigits(std::string_view f) {
  const std::size_t point = f.find('.');
  if (point == std::string_view::npos || (point != 4 && point != 5) || f.size() != point + 3) return std::nullopt;
  const std::string_view whole = f.substr(0, point), cents = f.substr(point + 1);
  if (!digits(whole) || !digits(cents)) return std::nullopt;
  return (point == 4 ? "0" : "") + std::string(whole) + std::string(cents);
}

// At most three fields: the last keeps any further separators.
std::vector<std::string_view> splitFields(std::string_view line) {
  const char sep = line.find(',') != std::string_view::npos ? ',' : ' ';
  std::vector<std::string_view> fields;
  while (fields.size() < 2) {
    const std::size_t at = line.find(sep);
    if (at == std::string_view::npos) break;
    fields.push_back(line.substr(0, at));
    line.remove_prefix(at + 1);
  }
  fields.push_back(line);
  return fields;
}

}  // namespace

bool isChannelRecord(std::string_view r) {
  return r.size() == 10 && digits(r.substr(0, 9)) && r[9] >= '1' && r[9] <= '4';
}

std::optional<std::string> parseChannelLine(std::string_view line) {
  const auto fields = splitFields(line);
  // A line without a mode field has nothing to say which mode to store.
  if (fields.size() < 3) return std::nullopt;
  std::string channel(fields[0]);
  if (channel.size() == 1) channel.insert(0, "0");
  if (!digits(channel, 2)) return std::nullopt;
  const auto freq = frequencyDigits(fields[1]);
  if (!freq) return std::nullopt;
  const long value = std::stol(*freq);
  if (value < kLowest || value > kHighest) return std::nullopt;
  if (fields[2].empty()) return std::nullopt;
  const std::size_t mode = kModeLetters.find(fields[2][0]);
  if (mode == std::string_view::npos) return std::nullopt;
  return channel + *freq + std::to_string(mode + 1);
}

ChannelFileContents parseChannelFile(std::string_view text) {
  ChannelFileContents out;
  int number = 0;
  for (const std::string& line : splitLines(text)) {
    ++number;
    if (line.empty()) continue;
    if (auto record = parseChannelLine(line)) out.records.push_back(std::move(*record));
    else out.skippedLines.push_back(number);
  }
  return out;
}

std::optional<std::string> formatChannelLine(std::string_view r) {
  if (!isChannelRecord(r)) return std::nullopt;
  return std::string(r.substr(0, 2)) + "," + std::string(r.substr(2, 5)) + "." + std::string(r.substr(7, 2)) + "," +
         kModeNames[static_cast<std::size_t>(r[9] - '1')];
}

std::string formatChannelFile(const std::vector<std::string>& records) {
  std::vector<std::string> lines;
  for (const auto& r : records)
    if (auto line = formatChannelLine(r)) lines.push_back(std::move(*line));
  return joinLinesCrLf(lines);
}

std::string describeChannelRecord(std::string_view r) {
  if (!isChannelRecord(r)) return std::string(r);
  return std::string(r.substr(2, 5)) + "." + std::string(r.substr(7, 2)) + " " +
         kModeNames[static_cast<std::size_t>(r[9] - '1')];
}

}  // namespace zr
