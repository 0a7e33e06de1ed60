#pragma once
// One row of a frequency list as the band lists and the scan list store it:
// "<frequency> <mode> <note>", where the frequency ends at the first blank,
// the mode is the next run of non-blanks and the note is the rest of the
// line, its inner and trailing blanks kept.
#include <string>
#include <string_view>

namespace zr {

struct ListRow {
  std::string freq;
  std::string mode;
  std::string note;

  bool operator==(const ListRow&) const = default;
};

// A line without any blank is all frequency.
ListRow parseListLine(std::string_view line);

// Frequency, one blank, mode, one blank, note: an empty row is two blanks,
// which reads back as an empty row.
std::string formatListLine(const ListRow& row);

}  // namespace zr
