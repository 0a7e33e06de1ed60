#pragma once
// Values read from the settings files, as plain texts compared exactly.
#include <string>

#include "setup/RigServerSetup.h"
#include "setup/TxTimeoutSetup.h"

namespace zr {

struct Settings {
  // Radio port
  std::string gRadioPort;
  std::string gRadioSettings;
  std::string gRadioHandshake;
  bool gExtPttEnabled = false;
  // CAT port
  std::string gCATPort;
  std::string gCATSettings;
  std::string gCATHandshake;
  std::string gRigType;
  // Audio
  std::string gPhoneAudioSource = "H1";
  std::string gPttEnableSetting = "'1";
  std::string gLocalRemoteSetting = "\"1";
  std::string gDigAudioSource = "H3";
  std::string gDigVox = "V2";
  // The network rig server, as last applied
  RigServerSetup rigServer;
  // Seconds a transmission may last without a break; 0 = no limit
  int txTimeoutSeconds = kTxTimeoutDefault;
};

}  // namespace zr
