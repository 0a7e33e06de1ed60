#pragma once
// Tells whether port n can be opened now: opens and closes the device and
// never configures it.
#include <filesystem>

#include "core/SerialPort.h"

namespace zr {

class PosixPortProbe final : public PortProbe {
 public:
  // `mappingDir`: where COMn links are looked for; empty = working directory.
  explicit PosixPortProbe(std::filesystem::path mappingDir = {}) : dir_(std::move(mappingDir)) {}

  // False for a missing device, one held by another program, one we may
  // not open, or a file that is not a terminal. Reports nothing.
  bool exists(int portNumber) override;

 private:
  std::filesystem::path dir_;
};

}  // namespace zr
