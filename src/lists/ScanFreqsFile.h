#pragma once
// "ScanFreqs.txt": the frequency-list scanner's rows, one a line in the list
// row syntax, and after them the dwell in whole seconds. A complete file has
// fourteen lines, CR LF ended.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "lists/ListLine.h"

namespace zr {

inline constexpr const char* kScanFreqsFile = "ScanFreqs.txt";
inline constexpr std::size_t kScanRows = 13;

struct ScanList {
  std::array<ListRow, kScanRows> rows;
  // The dwell line as written; nothing when the file ends before it.
  std::optional<std::string> dwell;
};

// Line k fills row k; a shorter file leaves the rest empty, a longer one has
// its further lines ignored.
ScanList parseScanList(std::string_view text);

std::string formatScanList(const std::array<ListRow, kScanRows>& rows, const std::string& dwell);

}  // namespace zr
