#include "lists/ScanFreqsFile.h"

#include <vector>

#include "core/TextFile.h"

namespace zr {

ScanList parseScanList(std::string_view text) {
  ScanList list;
  const std::vector<std::string> lines = splitLines(text, kScanRows + 1);
  for (std::size_t i = 0; i < lines.size() && i < kScanRows; ++i) list.rows[i] = parseListLine(lines[i]);
  if (lines.size() > kScanRows) list.dwell = lines[kScanRows];
  return list;
}

std::string formatScanList(const std::array<ListRow, kScanRows>& rows, const std::string& dwell) {
  std::vector<std::string> lines;
  for (const ListRow& row : rows) lines.push_back(formatListLine(row));
  lines.push_back(dwell);
  return joinLinesCrLf(lines);
}

}  // namespace zr
