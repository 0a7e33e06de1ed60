#include "cat/CatRequests.h"

#include <algorithm>
#include <optional>

#include "core/Convert.h"

namespace zr {

namespace {

constexpr std::string_view kFreqSetPrefix = "FA000";
constexpr std::size_t kFreqDigits = 7;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<CatRequest> recognise(std::string_view r) {
  using K = CatRequest::Kind;
  if (r == "FA") return CatRequest{K::FreqQuery, {}};
  if (r.substr(0, kFreqSetPrefix.size()) == kFreqSetPrefix) {
    // The 1 Hz digit and anything after it are dropped; fewer than seven
    // digits would not make a frequency command, so such a setting is void.
    std::string digits(r.substr(kFreqSetPrefix.size(), kFreqDigits));
    if (allDigits(digits, kFreqDigits)) return CatRequest{K::FreqSet, digits};
    return std::nullopt;
  }
  if (r == "MD") return CatRequest{K::ModeQuery, {}};
  if (r.size() == 3 && r.substr(0, 2) == "MD" && isDigit(r[2])) {
    // Digits without a mode of ours are ignored: passing them on would send
    // the transceiver an empty mode code.
    std::string code = catModeCode(r[2]);
    if (!code.empty()) return CatRequest{K::ModeSet, code};
  }
  return std::nullopt;
}

// Each non-empty request closed by ";", in order.
template <typename F>
void forEachRequest(std::string_view text, F f) {
  std::size_t p = 0;
  while (p < text.size()) {
    const std::size_t end = text.find(';', p);
    if (end == std::string_view::npos) break;
    if (end > p) f(text.substr(p, end - p));
    p = end + 1;
  }
}

}  // namespace

std::vector<CatRequest> parseCatRequests(std::string_view text) {
  std::vector<CatRequest> out;
  forEachRequest(text, [&](std::string_view r) {
    if (auto c = recognise(r)) out.push_back(std::move(*c));
  });
  return out;
}

std::vector<std::string> ignoredCatRequests(std::string_view text) {
  std::vector<std::string> out;
  forEachRequest(text, [&](std::string_view r) {
    if (!recognise(r) && std::find(out.begin(), out.end(), r) == out.end()) out.emplace_back(r);
  });
  return out;
}

std::string ignoredCatRequestsText(const std::vector<std::string>& ignored, const std::string& prefix) {
  constexpr std::size_t kShown = 6, kLength = 12;
  std::string out = prefix;
  for (std::size_t i = 0; i < ignored.size() && i < kShown; ++i) {
    std::string r = ignored[i].substr(0, kLength);
    for (char& c : r)
      if (c < 0x20 || c > 0x7e) c = '?';
    out += " " + r + (ignored[i].size() > kLength ? "...;" : ";");
  }
  if (ignored.size() > kShown) out += " ...";
  return out;
}

std::vector<CatRequest> worthCarryingOut(const std::vector<CatRequest>& requests, std::size_t maxSettings) {
  using K = CatRequest::Kind;
  auto queryOf = [](K setting) { return setting == K::FreqSet ? K::FreqQuery : K::ModeQuery; };
  std::vector<CatRequest> out;
  std::size_t settings = 0;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const K kind = requests[i].kind;
    if (kind == K::FreqQuery || kind == K::ModeQuery) {
      out.push_back(requests[i]);
      continue;
    }
    bool replaced = false;
    for (std::size_t j = i + 1; j < requests.size() && !replaced; ++j) {
      if (requests[j].kind == queryOf(kind)) break;
      replaced = requests[j].kind == kind;
    }
    if (replaced || settings == maxSettings) continue;
    ++settings;
    out.push_back(requests[i]);
  }
  return out;
}

std::string catModeCode(char digit) {
  switch (digit) {
    case '1': return "M2";
    case '2': return "M1";
    case '3': return "M4";
    case '5': return "M3";
    default: return {};
  }
}

std::string catFreqAnswer(const std::string& freqCmd) {
  if (freqCmd.size() != 1 + kFreqDigits || freqCmd[0] != 'F' || !allDigits(freqCmd.substr(1), kFreqDigits))
    return {};
  return "FA000" + freqCmd.substr(1) + "0;";
}

std::string catModeAnswer(const std::string& digitalMode, const std::string& modeCode) {
  char c = 0;
  if (digitalMode == "PSK") {
    c = 'A';
  } else if (digitalMode == "FSK") {
    c = '9';
  } else if (digitalMode == "RTTY") {
    c = '6';
  } else if (digitalMode == "OFF") {
    if (modeCode == "M1") c = '2';
    else if (modeCode == "M2") c = '1';
    else if (modeCode == "M3") c = '5';
    else if (modeCode == "M4") c = '3';
  }
  if (c == 0) return {};
  return std::string("MD") + c + ";";
}

}  // namespace zr
