// Any bytes as a band list file: read by the window without a crash; its
// rows read back the same once written, always as 14 lines; Sort keeps every
// row that holds anything. The bytes as one list line too.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/Errors.h"
#include "core/FakeClock.h"
#include "core/FakeSerialPort.h"
#include "core/NullHost.h"
#include "core/Panel.h"
#include "core/TextFile.h"
#include "lists/BandList.h"
#include "lists/BandSelect.h"
#include "panel/Channels.h"

namespace {

struct NoPorts : zr::PortProbe {
  bool exists(int) override { return false; }
};

void check(bool ok) {
  if (!ok) std::abort();
}

bool emptyRow(const zr::ListRow& r) {
  return (r.freq + r.mode + r.note).find_first_not_of(' ') == std::string::npos;
}

int filled(const zr::BandRows& rows) {
  int n = 0;
  for (const auto& r : rows) n += !emptyRow(r);
  return n;
}

// One working folder per process, for the window's bare file names.
void enterWorkFolder() {
  static bool entered = false;
  if (entered) return;
  const auto dir = std::filesystem::temp_directory_path() / ("fuzz-band-list-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  entered = true;
  static const auto folder = dir;
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  });
}

void checkRows(const zr::BandRows& rows) {
  const std::string text = zr::formatBandList(rows);
  const auto lines = zr::splitLines(text);
  check(lines.size() == zr::kBandListRows);
  check(zr::joinLinesCrLf(lines) == text);
  check(zr::parseBandList(text) == rows);

  const zr::BandRows sorted = zr::sortBandRows(rows);
  check(filled(sorted) == filled(rows));
  for (const auto& r : rows) check(zr::bandFrequencyDigits(r.freq).size() == 7);
}

void windowReads(const std::string& bytes) {
  static zr::FakeClock clock;
  static zr::NullHost host;
  static zr::FakeSerialPort radio(clock), cat(clock);
  static NoPorts probe;
  static zr::Panel panel(clock, host, radio, cat, probe);
  zr::BandSelect& window = panel.channels().bandSelect();
  std::ofstream("M40List.txt", std::ios::binary) << bytes;
  window.Form_Load("40");
  window.cmdSort_Click();
  checkRows(window.model().rows());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  const zr::ListRow line = zr::parseListLine(bytes);
  check(zr::parseListLine(zr::formatListLine(line)) == line);

  try {
    checkRows(zr::parseBandList(bytes));
  } catch (const zr::RuntimeError&) {
    // Not text: refused with a reason.
  }
  enterWorkFolder();
  windowReads(bytes);
  return 0;
}
