// Any bytes as a settings file: every parser takes it without a crash,
// values never carry a line end, the audio codes are always two characters
// and, once repaired, always codes the transceiver knows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/SettingsFiles.h"

namespace {

void checkLine(const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos) std::abort();
}

bool oneOf(const std::string& code, std::initializer_list<const char*> allowed) {
  for (const char* a : allowed)
    if (code == a) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto ini = zr::parseIniFile(text);
  const auto port = zr::parsePortSetup(text);
  const auto cat = zr::parseCatSetup(text);
  auto audio = zr::parseAudioSetup(text);
  for (const std::string* s : {&ini.vfoB, &ini.vfoBMode, &ini.split, &ini.stepSize, &port.port, &port.settings,
                               &port.handshake, &port.extPtt, &cat.rigType})
    checkLine(*s);
  for (const std::string* s :
       {&audio.phoneSource, &audio.pttEnable, &audio.localRemote, &audio.digSource, &audio.digVox}) {
    checkLine(*s);
    if (s->size() != 2) std::abort();
  }
  // The same lines whichever reader takes them.
  if (port.port != cat.port || port.extPtt != cat.rigType) std::abort();
  zr::handshakeIndex(port.handshake);
  const std::string problem = zr::portSetupProblem(port);
  checkLine(problem);

  zr::repairAudioSetup(audio);
  if (!oneOf(audio.phoneSource, {"H1", "H2", "H3"}) || !oneOf(audio.pttEnable, {"'0", "'1"}) ||
      !oneOf(audio.localRemote, {"\"0", "\"1"}) || !oneOf(audio.digSource, {"H1", "H2", "H3"}) ||
      !oneOf(audio.digVox, {"V0", "V1", "V2"}))
    std::abort();
  return 0;
}
