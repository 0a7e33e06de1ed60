// Any bytes as a settings file: every reader takes it without a crash, and
// values never carry a line end; the audio codes are always two characters.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/SettingsFiles.h"

namespace {

// One name per process; the file is removed after every input.
const std::string& inputPath() {
  static const std::string path = "/tmp/fuzz-settings-" + std::to_string(::getpid());
  return path;
}

void checkLine(const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = inputPath();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);

  const auto ini = zr::readIniFile(path);
  const auto port = zr::readPortSetup(path);
  const auto cat = zr::readCatSetup(path);
  const auto audio = zr::readAudioSetup(path);
  if (!ini || !port || !cat || !audio) std::abort();
  for (const std::string* s : {&ini->vfoB, &ini->vfoBMode, &ini->split, &ini->stepSize, &port->port,
                               &port->settings, &port->handshake, &port->extPtt, &cat->rigType})
    checkLine(*s);
  for (const std::string* s :
       {&audio->phoneSource, &audio->pttEnable, &audio->localRemote, &audio->digSource, &audio->digVox}) {
    checkLine(*s);
    if (s->size() != 2) std::abort();
  }
  // The same lines whichever reader takes them.
  if (port->port != cat->port || port->extPtt != cat->rigType) std::abort();
  zr::handshakeIndex(port->handshake);
  ::unlink(path.c_str());
  return 0;
}
