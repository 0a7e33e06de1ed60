// Any bytes from station software on the CAT port, in up to four receive
// events, in either dialect: never a crash, nothing but well-formed commands
// to the radio, nothing but well-formed answers to the CAT port, no NUL on
// either.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/NullHost.h"
#include "cat/CatPort.h"
#include "core/FakeClock.h"
#include "core/FakeSerialPort.h"
#include "core/MainLoop.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "panel/ClientRequests.h"
#include "sim/VirtualTransceiver.h"

namespace {

struct NoPorts : zr::PortProbe {
  bool exists(int) override { return false; }
};

bool digits(const std::string& s, std::size_t from) {
  return s.find_first_not_of("0123456789", from) == std::string::npos;
}

// Firmware 2 commands: "F" + seven digits, "M1".."M4", each ended by a line feed.
bool wellFormedRadio(const std::string& text) {
  if (!text.empty() && text.back() != '\n') return false;
  std::size_t p = 0;
  for (std::size_t nl; (nl = text.find('\n', p)) != std::string::npos; p = nl + 1) {
    const std::string line = text.substr(p, nl - p);
    const bool freq = line.size() == 8 && line[0] == 'F' && digits(line, 1);
    const bool mode = line.size() == 2 && line[0] == 'M' && line[1] >= '1' && line[1] <= '4';
    if (!freq && !mode) return false;
  }
  return true;
}

bool wellFormedAnswer(const std::string& a) {
  if (a.size() == 14) return a.compare(0, 5, "FA000") == 0 && digits(a.substr(0, 13), 5) && a.compare(12, 2, "0;") == 0;
  return a.size() == 4 && a.compare(0, 2, "MD") == 0 && std::string("1235A96").find(a[2]) != std::string::npos &&
         a[3] == ';';
}

// One Kenwood answer per write: "?;" or a known reply of its fixed width.
bool wellFormedKenwood(const std::string& a) {
  if (a == "?;" || a == "ID019;" || a == "AI0;" || a == "PS1;" || a == "FR0;" || a == "FT0;" || a == "FT1;") return true;
  if (a.size() == 14 && (a.compare(0, 2, "FA") == 0 || a.compare(0, 2, "FB") == 0))
    return digits(a.substr(0, 13), 2) && a[13] == ';';
  if (a.size() == 4 && a.compare(0, 2, "MD") == 0) return std::string("123569").find(a[2]) != std::string::npos && a[3] == ';';
  return a.size() == 38 && a.compare(0, 2, "IF") == 0 && a.back() == ';';
}

struct Rig {
  zr::FakeClock clock;
  zr::NullHost host;
  zr::FakeSerialPort radio{clock}, cat{clock};
  NoPorts probe;
  zr::Panel panel{clock, host, radio, cat, probe};
  sim::VirtualTransceiver sim{radio, clock, 2};

  Rig() {
    panel.settings.gRadioPort = "1";
    panel.settings.gRadioSettings = "9600,N,8,1";
    panel.link().SetUpRadioPort();
    panel.st.gFwType = 2;
    panel.link().gSendCommand("?", true, 0.6);
    panel.link().gReadResponse();
    panel.display().gUpdateDisplay();
    panel.settings.gCATPort = "2";
    panel.settings.gCATSettings = "9600,N,8,1";
    panel.cat().SetUpCATPort();
    // Remote control, so settings from the port are taken and carried out.
    panel.mainLoop().controlMode = "REMOTE";
    panel.frm.lblREMOTE.caption = "REMOTE";
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Rig rig;
  zr::Panel& panel = rig.panel;
  rig.clock.setLimit(rig.clock.elapsed() + 1e6);
  rig.radio.clearLog();
  rig.cat.clearLog();
  rig.sim.clearCommands();
  if (!rig.cat.isOpen()) std::abort();

  // The first byte picks the digital mode and the dialect; '\x01' bytes
  // split receive events.
  std::string text(reinterpret_cast<const char*>(data), size);
  static const char* const digital[] = {"OFF", "PSK", "FSK", "RTTY", "OFF"};
  bool kenwood = false;
  if (!text.empty()) {
    const auto first = static_cast<unsigned char>(text[0]);
    panel.frm.cmbDig.text = digital[first % 5];
    kenwood = (first / 5) % 2 == 1;
    text.erase(0, 1);
  }
  panel.cat().setKenwoodDialect(kenwood);
  // A key-down would start the PTT loop, which waits for a key-up this
  // harness could only deliver after it returns: keying stays refused.
  panel.frm.cmdPTT.enabled = false;
  std::size_t p = 0;
  for (int events = 0; events < 4 && p <= text.size(); ++events) {
    std::size_t cut = text.find('\x01', p);
    if (cut == std::string::npos || events == 3) cut = text.size();
    rig.cat.deliver(std::string_view(text).substr(p, cut - p));
    panel.engine.pump();
    while (panel.cat().receiving()) panel.engine.pump(1.0);
    if (panel.form.gCATPending) panel.cat().CATCmd();
    // Settings taken from a station program, and its keying, are carried
    // out at the next passes.
    for (int n = 0; n < 3; ++n) panel.engine.pump();
    if (panel.clients().clientPending) panel.clients().clientCmd();
    p = cut + 1;
  }
  // What the input keyed ends with it, as when the program lets go.
  panel.cat().setKenwoodDialect(false);
  panel.engine.pump();
  rig.cat.discardInput();

  const std::string toRadio = rig.radio.written();
  if (toRadio.find('\0') != std::string::npos || !wellFormedRadio(toRadio)) std::abort();
  for (const auto& e : rig.cat.wireLog())
    if (e.toRadio && !(kenwood ? wellFormedKenwood(e.bytes) : wellFormedAnswer(e.bytes))) std::abort();
  return 0;
}
