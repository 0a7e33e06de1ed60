// Any bytes as a channel file: the reader takes only channel records in the
// panel's range, what the writer makes of them reads back the same, and any
// ten bytes that pass as a record format and read back consistently.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lists/ChannelFile.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool inRange(std::string_view record) {
  const long f = std::stol(std::string(record.substr(2, 7)));
  return f >= 160000 && f <= 2999999;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zr::ChannelFileContents file = zr::parseChannelFile(text);
  for (const auto& r : file.records) check(zr::isChannelRecord(r) && inRange(r));

  const std::string written = zr::formatChannelFile(file.records);
  const zr::ChannelFileContents again = zr::parseChannelFile(written);
  check(again.records == file.records);
  check(again.skippedLines.empty());

  if (size >= 10) {
    const std::string_view record = text.substr(0, 10);
    const auto line = zr::formatChannelLine(record);
    check(line.has_value() == zr::isChannelRecord(record));
    if (line) {
      const auto back = zr::parseChannelLine(*line);
      check(back.has_value() == inRange(record));
      if (back) check(*back == record);
    }
  }
  return 0;
}
