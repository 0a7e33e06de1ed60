// Any bytes as one receive of the Kenwood dialect, against a rig state made
// from the first bytes: never a crash; every request is one ";"-closed piece
// of the text; settings carry only in-range digits or known codes; every
// answer is a well-formed Kenwood answer (IF exactly 38 characters).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cat/KenwoodRequests.h"
#include "core/RigState.h"

namespace {

bool digits(const std::string& s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos; }

void check(bool ok) {
  if (!ok) std::abort();
}

zr::RigStateSnapshot stateFrom(std::string& text) {
  zr::RigStateSnapshot s;
  static const char* const modes[] = {"M1", "M2", "M3", "M4", "  ", "M9"};
  static const char* const digital[] = {"OFF", "PSK", "FSK", "RTTY", ""};
  const unsigned char a = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
  const unsigned char b = text.size() < 2 ? 0 : static_cast<unsigned char>(text[1]);
  s.mode = modes[a % 6];
  s.digitalMode = digital[(a / 6) % 5];
  s.split = a & 0x80;
  s.transmitting = b & 1;
  s.keyCmd = b & 2 ? "K" : "U";
  s.freqValid = b & 4;
  // Frequency texts straight from the input: any eight bytes.
  s.freqCmd = text.size() > 2 ? text.substr(2, 8) : std::string();
  s.vfoBFreqCmd = text.size() > 10 ? text.substr(10, 8) : "F1420000";
  if (b & 8) s.freqCmd = "F1407400";
  text.erase(0, std::min<std::size_t>(text.size(), 18));
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using K = zr::KenwoodRequest::Kind;
  std::string text(reinterpret_cast<const char*>(data), size);
  const zr::RigStateSnapshot state = stateFrom(text);
  const auto requests = zr::parseKenwoodRequests(text);

  std::size_t pieces = 0, p = 0;
  for (std::size_t end; (end = text.find(';', p)) != std::string::npos; p = end + 1) pieces += end > p;
  check(requests.size() == pieces);

  for (const auto& r : requests) {
    check(!r.text.empty() && r.text.find(';') == std::string::npos);
    if (r.kind == K::FreqASet || r.kind == K::FreqBSet)
      check(r.argument.size() == 7 && digits(r.argument) && r.argument >= "0160000" && r.argument <= "2999999");
    if (r.kind == K::ModeSet) check(r.argument.size() == 2 && r.argument[0] == 'M' && r.argument[1] >= '1' && r.argument[1] <= '4');
    if (r.kind == K::RxVfoSet || r.kind == K::TxVfoSet) check(r.argument == "0" || r.argument == "1");
    const std::string a = zr::kenwoodAnswer(r, state);
    if (!r.isQuery()) {
      check(a.empty());
      continue;
    }
    if (a.empty()) continue;
    check(a.back() == ';' && a.find(';') == a.size() - 1);
    check(a.compare(0, 2, r.text, 0, 2) == 0);
    for (char c : a) check(c >= 0x20 && c < 0x7f);
    if (r.kind == K::Information) check(a.size() == 38 && digits(a.substr(2, 11)));
    if (r.kind == K::FreqAQuery || r.kind == K::FreqBQuery) check(a.size() == 14 && digits(a.substr(2, 11)));
    if (r.kind == K::ModeQuery) check(a.size() == 4 && std::string("123569").find(a[2]) != std::string::npos);
  }
  return 0;
}
