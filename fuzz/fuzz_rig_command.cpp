// Any bytes from a station program on the rig server, in pieces, with the
// panel taking, refusing or not answering the settings: never a crash, only
// well-formed settings handed to the panel, every answer ended by a line end,
// and a client that floods is closed rather than buffered without limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "netctl/RigCommand.h"
#include "netctl/RigSession.h"
#include "netctl/SettingsInFlight.h"

namespace {

bool sevenDigitsInRange(const std::string& d) {
  if (d.size() != 7 || d.find_first_not_of("0123456789") != std::string::npos) return false;
  return d >= "0160000" && d <= "2999999";
}

bool wellFormed(const zr::RigSetting& s) {
  using K = zr::RigSetting::Kind;
  switch (s.kind) {
    case K::Frequency:
    case K::VfoBFrequency:
      return sevenDigitsInRange(s.value);
    case K::Mode:
    case K::VfoBMode:
      return s.value == "M1" || s.value == "M2" || s.value == "M3" || s.value == "M4";
    case K::Split:
    case K::Ptt:
      return s.value.empty();
  }
  return false;
}

class Backend : public zr::RigBackend {
 public:
  zr::RigStateSnapshot view() const override { return view_; }
  std::shared_ptr<zr::RigTicket> submit(const zr::RigSetting& s, int, std::function<void()> notify) override {
    if (!wellFormed(s)) std::abort();
    auto t = std::make_shared<zr::RigTicket>(std::move(notify));
    tickets.push_back(t);
    return t;
  }
  void clientGone(int) override {}

  zr::RigStateSnapshot view_;
  std::vector<std::shared_ptr<zr::RigTicket>> tickets;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // The first byte shapes the panel: what it holds and whether it takes settings.
  Backend backend;
  const unsigned char shape = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
  if (!text.empty()) text.erase(0, 1);
  if (shape & 1) {
    backend.view_.freqCmd = "F1425000";
    backend.view_.freqValid = true;
    backend.view_.mode = "M2";
  }
  backend.view_.split = shape & 2;
  backend.view_.vfoBFreqCmd = shape & 4 ? "F0707400" : "";
  backend.view_.vfoBMode = "CW";
  backend.view_.takesSettings = !(shape & 8);
  backend.view_.txUnrestricted = shape & 16;
  backend.view_.portLost = shape & 32;
  backend.view_.keyed = shape & 64;

  // Two clients of one server, the second seeing the first's settings in
  // flight: it gets every other piece.
  auto inFlight = std::make_shared<zr::SettingsInFlight>();
  zr::RigSession session(backend, 1, [] {}, inFlight);
  zr::RigSession other(backend, 2, [] {}, inFlight);
  // '\x01' cuts the input into pieces as they would arrive; after each piece
  // the panel answers the settings waiting (or lets them time out).
  double now = 0;
  std::size_t p = 0;
  std::size_t pieces = 0;
  while (p <= text.size()) {
    std::size_t cut = text.find('\x01', p);
    if (cut == std::string::npos) cut = text.size();
    zr::RigSession& to = (shape & 128) && pieces % 2 ? other : session;
    to.receive(std::string_view(text).substr(p, cut - p));
    to.advance(now);
    for (auto& t : backend.tickets) {
      if (t->result()) continue;
      if (pieces % 3 == 2) continue;  // the engine is busy: the deadline decides
      if (t->take()) t->finish(pieces % 3 == 0 ? zr::rprt::Ok : zr::rprt::Rejected);
    }
    now += pieces % 3 == 2 ? zr::RigSession::kSettingDeadline + 0.1 : 0.01;
    for (zr::RigSession* s : {&session, &other}) {
      s->advance(now);
      const std::string& out = s->output();
      if (!out.empty() && out.back() != '\n') std::abort();
      s->output().clear();
    }
    p = cut + 1;
    ++pieces;
  }
  for (zr::RigSession* s : {&session, &other}) {
    s->endOfInput();
    s->advance(now + 10);
    if (!s->closing() && !s->deadline()) std::abort();
  }
  return 0;
}
