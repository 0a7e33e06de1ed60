// Any bytes from the radio port: decoded, shown, never a crash, and every
// item keeps its fixed width.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/NullHost.h"
#include "core/FakeClock.h"
#include "core/FakeSerialPort.h"
#include "core/Panel.h"
#include "core/StatusDecoder.h"
#include "core/StatusDisplay.h"

namespace {

struct NoPorts : zr::PortProbe {
  bool exists(int) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zr::FakeClock clock;
  static zr::NullHost host;
  static zr::FakeSerialPort radio(clock), cat(clock);
  static NoPorts probe;
  static zr::Panel panel(clock, host, radio, cat, probe);
  if (!radio.isOpen()) radio.open();
  // The port answers nothing, so every reply wait ends at its timeout.
  clock.setLimit(clock.elapsed() + 1e6);

  std::string text(reinterpret_cast<const char*>(data), size);
  const std::size_t before = text.size();
  panel.decoder().gParseResponse(text);
  if (text.size() != before) std::abort();
  panel.display().gUpdateDisplay();
  if (panel.st.gFreqCmd.str().size() != 8 || panel.st.gChannelData.str().size() != 11) std::abort();
  radio.clearLog();
  return 0;
}
