#include "core/Convert.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/Errors.h"

namespace zr {

namespace {

// Parses [blanks][sign]digits[.digits][E[sign]digits][blanks]; false when the
// whole text is not such a number.
bool parseNumber(const std::string& text, double& out) {
  const std::string t = trim(text);
  if (t.empty()) return false;
  std::size_t i = 0;
  if (t[i] == '+' || t[i] == '-') ++i;
  std::size_t digits = 0;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t exp = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++exp;
    if (exp == 0) return false;
  }
  if (i != t.size()) return false;
  out = std::strtod(t.c_str(), nullptr);
  return std::isfinite(out);
}

long long roundHalfEven(double v) { return static_cast<long long>(std::nearbyint(v)); }

long long convertInteger(const std::string& text, long long lo, long long hi) {
  double v = 0;
  if (!parseNumber(text, v)) throw RuntimeError(err::TypeMismatch);
  if (v < static_cast<double>(lo) - 0.5 || v > static_cast<double>(hi) + 0.5) throw RuntimeError(err::Overflow);
  const long long r = roundHalfEven(v);
  if (r < lo || r > hi) throw RuntimeError(err::Overflow);
  return r;
}

}  // namespace

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

double vbVal(const std::string& text) {
  // Val skips blanks anywhere and stops at the first character that cannot
  // continue a number.
  std::string compact;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') compact += c;
  std::size_t i = 0;
  std::string num;
  if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) num += compact[i++];
  bool dot = false;
  while (i < compact.size()) {
    const char c = compact[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      num += c;
    } else if (c == '.' && !dot) {
      dot = true;
      num += c;
    } else {
      break;
    }
    ++i;
  }
  if (num.empty() || num == "+" || num == "-" || num == "." || num == "+." || num == "-.") return 0;
  return std::strtod(num.c_str(), nullptr);
}

int vbCInt(const std::string& text) { return static_cast<int>(convertInteger(text, -32768, 32767)); }

long vbCLng(const std::string& text) {
  return static_cast<long>(convertInteger(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool allDigits(const std::string& text, std::size_t count) {
  if (text.size() != count) return false;
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace zr
