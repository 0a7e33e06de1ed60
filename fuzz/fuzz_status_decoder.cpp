// Any bytes from the radio port: decoded, shown, never a crash, and every
// item keeps its fixed width.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/FakeClock.h"
#include "core/FakeSerialPort.h"
#include "core/Panel.h"
#include "core/StatusDecoder.h"
#include "core/StatusDisplay.h"

namespace {

struct NullHost : zr::Host {
  void publish(std::shared_ptr<const zr::Snapshot>) override {}
  void beep() override {}
  void messageBox(const std::string&, const std::string&) override {}
  std::optional<std::string> fileDialog(const zr::FileDialogRequest&) override { return std::nullopt; }
  void openHelp(const std::string&) override {}
  void quit() override {}
};

struct NoPorts : zr::PortProbe {
  bool exists(int) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zr::FakeClock clock;
  static NullHost host;
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
