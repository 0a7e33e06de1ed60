#pragma once
// The program's logic as one object: the engine runtime, the ports, the
// transceiver state, the window models and the routines that work on them.
// Each routine lives in a small class that reaches its siblings through here,
// the way the program's modules share their module-level state.
#include <functional>
#include <memory>
#include <string>

#include "core/Clock.h"
#include "core/Engine.h"
#include "core/Host.h"
#include "core/RigState.h"
#include "core/SerialPort.h"
#include "core/Settings.h"
#include "core/TransceiverState.h"
#include "ui/MainWindowModel.h"

namespace zr {

class RadioLink;
class CommandComposer;
class StatusDecoder;
class StatusDisplay;
class MeterDisplay;
class SyncPoller;
class ModeControls;
class ReceiverToggles;
class Channels;
class CatPort;
class MainMenus;
class MainLoop;
class Tuning;
class VfoSplit;
class Transmit;
class Amplifier;
class ClientRequests;
struct RigServerSetup;
class PortRecovery;

// Variables of the main window that several routines share.
struct FormVars {
  bool txActive = false;
  bool extPttIdle = true;
  bool gComm1EvDSR = false;
  bool bfoOn = false;
  std::string gBfoOffset = "100";
  bool radioPortOpen = false;
  // Raised by dialogs and the CAT port, served by the service loop.
  bool gPortSetupDone = false;
  bool gAudioSetupApplied = false;
  bool gCATSetupChanged = false;
  bool gCATPending = false;
};

class Panel {
 public:
  Panel(Clock& clock, Host& host, SerialPort& radioPort, SerialPort& catPort, PortProbe& probe);
  ~Panel();
  Panel(const Panel&) = delete;
  Panel& operator=(const Panel&) = delete;

  // Runs the program until it ends (returns after shutdown).
  void run();

  Clock& clock;
  Host& host;
  SerialPort& MSComm1;  // radio port
  SerialPort& MSComm2;  // CAT port
  PortProbe& probe;
  Engine engine;

  MainWindowModel frm;
  TransceiverState st;
  Settings settings;
  FormVars form;
  // Published at every pump and before every wait; other threads read it.
  RigStatePublisher rigState;

  // The rig state as the panel holds it now.
  RigStateSnapshot currentRigState() const;

  RadioLink& link() { return *link_; }
  PortRecovery& recovery() { return *recovery_; }
  CommandComposer& cmds() { return *cmds_; }
  StatusDecoder& decoder() { return *decoder_; }
  StatusDisplay& display() { return *display_; }
  MeterDisplay& meter() { return *meter_; }
  SyncPoller& sync() { return *sync_; }
  ModeControls& modes() { return *modes_; }
  ReceiverToggles& toggles() { return *toggles_; }
  Channels& channels() { return *channels_; }
  Tuning& tuning() { return *tuning_; }
  VfoSplit& vfo() { return *vfo_; }
  Transmit& transmit() { return *transmit_; }
  Amplifier& amp() { return *amp_; }
  CatPort& cat() { return *cat_; }
  ClientRequests& clients() { return *clients_; }
  MainMenus& menus() { return *menus_; }
  MainLoop& mainLoop() { return *mainLoop_; }

  // Where port n leads on this system, for the port dialogs (set by the app).
  std::function<std::string(int)> describePort;
  // Stops the network rig server and starts it as `setup` says; returns the
  // state for the operator (set by the app; tests may leave it empty).
  std::function<std::string(const RigServerSetup&)> restartRigServer;

 private:
  std::unique_ptr<RadioLink> link_;
  std::unique_ptr<PortRecovery> recovery_;
  std::unique_ptr<CommandComposer> cmds_;
  std::unique_ptr<StatusDecoder> decoder_;
  std::unique_ptr<StatusDisplay> display_;
  std::unique_ptr<MeterDisplay> meter_;
  std::unique_ptr<SyncPoller> sync_;
  std::unique_ptr<ModeControls> modes_;
  std::unique_ptr<ReceiverToggles> toggles_;
  std::unique_ptr<Channels> channels_;
  std::unique_ptr<Tuning> tuning_;
  std::unique_ptr<VfoSplit> vfo_;
  std::unique_ptr<Transmit> transmit_;
  std::unique_ptr<Amplifier> amp_;
  std::unique_ptr<CatPort> cat_;
  std::unique_ptr<ClientRequests> clients_;
  std::unique_ptr<MainMenus> menus_;
  std::unique_ptr<MainLoop> mainLoop_;
};

}  // namespace zr
