// Any bytes as "ScanFreqs.txt": the rows read back the same after writing,
// nothing carries a line end, and what the scanner makes of each row is a
// frequency command in range or nothing, and a dwell within its limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Convert.h"
#include "lists/ScanFreqsFile.h"
#include "lists/ScanFrequency.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool oneLine(const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zr::ScanList list = zr::parseScanList(text);
  for (const zr::ListRow& row : list.rows) {
    check(oneLine(row.freq) && oneLine(row.mode) && oneLine(row.note));
    if (const auto command = zr::rowFrequencyCommand(row.freq)) {
      check(command->size() == 8 && (*command)[0] == 'F' && zr::allDigits(command->substr(1), 7));
      const long value = std::stol(command->substr(1));
      check(value >= zr::kScanLowest && value <= zr::kScanHighest);
    }
    zr::mhzToDigits(row.freq);
    zr::modeCodeFor(row.mode);
  }
  const std::string dwell = list.dwell.value_or("3");
  check(oneLine(dwell));
  const int seconds = zr::dwellSeconds(dwell);
  check(seconds >= 1 && seconds <= 32767);

  const zr::ScanList again = zr::parseScanList(zr::formatScanList(list.rows, dwell));
  check(again.rows == list.rows && again.dwell == dwell);
  return 0;
}
