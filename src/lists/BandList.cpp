#include "lists/BandList.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/Convert.h"
#include "core/Errors.h"
#include "core/TextFile.h"

namespace zr {

namespace {

struct Band {
  const char* key;
  const char* file;
};

constexpr Band kBands[] = {{"160", "M160List.txt"}, {"75", "M75List.txt"}, {"60", "M60List.txt"},
                           {"40", "M40List.txt"},   {"30", "M30List.txt"}, {"20", "M20List.txt"},
                           {"17", "M17List.txt"},   {"15", "M15List.txt"}, {"12", "M12List.txt"},
                           {"10", "M10List.txt"},   {"WWV", "WWVList.txt"}, {"MARS", "MarsList.txt"}};

struct Mode {
  const char* code;
  const char* name;
};

constexpr Mode kModes[] = {{"M1", "USB"}, {"M2", "LSB"}, {"M3", "AME"}, {"M4", "CW"}};

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool isText(std::string_view bytes) {
  return std::none_of(bytes.begin(), bytes.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && c != '\t' && c != '\r' && c != '\n') || u == 0x7F;
  });
}

std::string oneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

bool blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }
bool emptyRow(const ListRow& r) { return blank(r.freq) && blank(r.mode) && blank(r.note); }

// The number the text begins with, as the sort compares it.
float sortValue(const ListRow& r) { return static_cast<float>(vbVal(r.freq)); }

}  // namespace

std::string bandListFile(const std::string& bandKey) {
  for (const Band& b : kBands)
    if (bandKey == b.key) return b.file;
  return {};
}

std::string bandCaption(const std::string& bandKey) {
  if (bandKey == "WWV" || bandKey == "MARS") return bandKey;
  return bandKey + " " + "Meters";
}

BandRows parseBandList(std::string_view fileText) {
  if (!isText(fileText)) throw RuntimeError(err::PathFileAccessError, "is not a text file");
  BandRows rows;
  const std::vector<std::string> lines = splitLines(fileText, kBandListRows);
  for (std::size_t i = 0; i < lines.size(); ++i) rows[i] = parseListLine(lines[i]);
  return rows;
}

std::string formatBandList(const BandRows& rows) {
  std::vector<std::string> lines;
  for (const ListRow& r : rows) {
    ListRow line{oneLine(r.freq), oneLine(r.mode), oneLine(r.note)};
    // Without a mode the note's first word would read back as the mode.
    if (blank(line.mode) && !blank(line.note)) line.mode = kNoModeName;
    lines.push_back(formatListLine(line));
  }
  return joinLinesCrLf(lines);
}

std::string bandFrequencyDigits(std::string_view text) {
  std::string digits = "0000000";
  std::size_t at = text.size() >= 3 && isDigit(text[0]) && text[1] == '.' && isDigit(text[2]) ? 1 : 0;
  for (char c : text)
    if (isDigit(c) && at < digits.size()) digits[at++] = c;
  return digits;
}

bool bandFrequencyInRange(const std::string& digits) {
  if (!allDigits(digits, 7)) return false;
  const long value = std::stol(digits);
  return value >= 160000 && value <= 2999999;
}

std::string bandModeCode(const std::string& modeName) {
  std::string upper = modeName;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const Mode& m : kModes)
    if (upper == m.name) return m.code;
  return {};
}

std::string bandModeName(const std::string& modeCode) {
  for (const Mode& m : kModes)
    if (modeCode == m.code) return m.name;
  return {};
}

std::string bandFrequencyText(const std::string& freqCmd) {
  if (freqCmd.size() != 8 || freqCmd[0] != 'F' || !allDigits(freqCmd.substr(1), 7)) return {};
  std::string text;
  if (freqCmd[1] != '0') text += freqCmd[1];
  return text + freqCmd[2] + "." + freqCmd.substr(3);
}

BandRows sortBandRows(const BandRows& rows) {
  BandRows work = rows;
  BandRows sorted;
  std::size_t n = 0;
  // A selection sort that takes the last of equal values first, so equal
  // rows come out in reverse order; a taken row is blanked, which reads as 0.
  for (std::size_t pass = 0; pass < kBandListRows; ++pass) {
    std::size_t candidate = kBandListRows;
    float minimum = 0;
    for (std::size_t i = 0; i < kBandListRows; ++i) {
      const float v = sortValue(work[i]);
      if (v == 0) continue;
      if (candidate == kBandListRows || v <= minimum) {
        candidate = i;
        minimum = v;
      }
    }
    if (candidate == kBandListRows) break;
    sorted[n++] = work[candidate];
    work[candidate] = {" ", " ", " "};
  }
  // Rows without a frequency value still hold the operator's mode and note.
  for (const ListRow& r : rows)
    if (sortValue(r) == 0 && !emptyRow(r)) sorted[n++] = r;
  return sorted;
}

}  // namespace zr
