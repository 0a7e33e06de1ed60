#include "lists/ListLine.h"

namespace zr {

ListRow parseListLine(std::string_view line) {
  ListRow row;
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) {
    row.freq = line;
    return row;
  }
  row.freq = line.substr(0, blank);
  std::size_t i = line.find_first_not_of(' ', blank);
  if (i == std::string_view::npos) return row;
  const std::size_t modeEnd = std::min(line.find(' ', i), line.size());
  row.mode = line.substr(i, modeEnd - i);
  i = line.find_first_not_of(' ', modeEnd);
  if (i != std::string_view::npos) row.note = line.substr(i);
  return row;
}

std::string formatListLine(const ListRow& row) { return row.freq + " " + row.mode + " " + row.note; }

}  // namespace zr
