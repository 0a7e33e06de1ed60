#include "core/serial/PortSettings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <vector>

#include "core/Errors.h"

namespace zr {
namespace {

// The rates termios names with a B constant, from 110 up.
constexpr std::array kBaudRates{110,     300,     600,     1200,    1800,    2400,    4800,   9600,
                                19200,   38400,   57600,   115200,  230400,  460800,  500000, 576000,
                                921600,  1000000, 1152000, 1500000, 2000000, 2500000, 3000000,
                                3500000, 4000000};

std::string_view trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> splitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  for (;;) {
    const auto comma = text.find(',');
    fields.push_back(trim(text.substr(0, comma)));
    if (comma == std::string_view::npos) return fields;
    text.remove_prefix(comma + 1);
  }
}

[[noreturn]] void fail(const std::string& text, const std::string& why) {
  throw RuntimeError(err::InvalidPortSettings, "Invalid port settings \"" + text + "\": " + why);
}

bool parseInt(std::string_view s, int& value) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

}  // namespace

bool isSupportedBaud(int baud) {
  return std::find(kBaudRates.begin(), kBaudRates.end(), baud) != kBaudRates.end();
}

PortSettings parsePortSettings(const std::string& text) {
  const auto fields = splitFields(text);
  if (fields.size() != 4) fail(text, "expected baud,parity,data bits,stop bits");

  PortSettings s;
  if (!parseInt(fields[0], s.baud)) fail(text, "the baud rate is not a number");
  if (!isSupportedBaud(s.baud)) fail(text, "baud rate " + std::string(fields[0]) + " is not supported");

  if (fields[1].size() != 1) fail(text, "parity must be N, O, E, M or S");
  switch (fields[1][0]) {
    case 'N': case 'n': s.parity = Parity::None; break;
    case 'O': case 'o': s.parity = Parity::Odd; break;
    case 'E': case 'e': s.parity = Parity::Even; break;
    case 'M': case 'm': s.parity = Parity::Mark; break;
    case 'S': case 's': s.parity = Parity::Space; break;
    default: fail(text, "parity must be N, O, E, M or S");
  }

  if (!parseInt(fields[2], s.dataBits) || s.dataBits < 5 || s.dataBits > 8)
    fail(text, "data bits must be 5, 6, 7 or 8");

  if (fields[3] == "1") {
    s.stopBits = StopBits::One;
  } else if (fields[3] == "2") {
    s.stopBits = StopBits::Two;
  } else if (fields[3] == "1.5") {
    // A UART sends 1.5 stop bits only for 5-bit characters.
    if (s.dataBits != 5) fail(text, "1.5 stop bits need 5 data bits");
    s.stopBits = StopBits::OneAndHalf;
  } else {
    fail(text, "stop bits must be 1, 1.5 or 2");
  }
  return s;
}

}  // namespace zr
