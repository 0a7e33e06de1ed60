#include "sim/LineSettings.h"

#include <cctype>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace sim {

namespace {

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool allDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

LineSettings LineSettings::parse(const std::string& text) {
  std::vector<std::string> fields;
  std::stringstream in(text);
  for (std::string f; std::getline(in, f, ',');) fields.push_back(trimmed(f));
  const auto bad = [&] { return std::invalid_argument("unusable line settings \"" + text + "\""); };
  if (fields.size() != 4) throw bad();

  LineSettings s;
  if (!allDigits(fields[0]) || fields[0].size() > 7) throw bad();
  s.baud = std::stoi(fields[0]);
  if (s.baud <= 0) throw bad();

  if (fields[1].size() != 1) throw bad();
  s.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(fields[1][0])));
  if (std::string("NEOMS").find(s.parity) == std::string::npos) throw bad();

  if (fields[2].size() != 1 || fields[2][0] < '4' || fields[2][0] > '8') throw bad();
  s.dataBits = fields[2][0] - '0';

  if (fields[3] == "1") s.stopBits = 1;
  else if (fields[3] == "1.5") s.stopBits = 1.5;
  else if (fields[3] == "2") s.stopBits = 2;
  else throw bad();
  return s;
}

}  // namespace sim
