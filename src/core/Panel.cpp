#include "core/Panel.h"

#include "core/CommandComposer.h"
#include "core/Errors.h"
#include "core/MeterDisplay.h"
#include "core/PortRecovery.h"
#include "core/RadioLink.h"
#include "core/StatusDecoder.h"
#include "core/StatusDisplay.h"
#include "core/SyncPoller.h"
#include "cat/CatPort.h"
#include "core/MainLoop.h"
#include "core/MainMenus.h"
#include "panel/ModeControls.h"
#include "panel/Amplifier.h"
#include "panel/Channels.h"
#include "panel/ClientRequests.h"
#include "panel/Transmit.h"
#include "panel/Tuning.h"
#include "panel/VfoSplit.h"
#include "panel/ReceiverToggles.h"

namespace zr {

Panel::Panel(Clock& clock_, Host& host_, SerialPort& radioPort, SerialPort& catPort, PortProbe& probe_)
    : clock(clock_),
      host(host_),
      MSComm1(radioPort),
      MSComm2(catPort),
      probe(probe_),
      engine(clock_, host_),
      link_(std::make_unique<RadioLink>(*this)),
      recovery_(std::make_unique<PortRecovery>(*this)),
      cmds_(std::make_unique<CommandComposer>(*this)),
      decoder_(std::make_unique<StatusDecoder>(*this)),
      display_(std::make_unique<StatusDisplay>(*this)),
      meter_(std::make_unique<MeterDisplay>(*this)),
      sync_(std::make_unique<SyncPoller>(*this)),
      modes_(std::make_unique<ModeControls>(*this)),
      toggles_(std::make_unique<ReceiverToggles>(*this)),
      channels_(std::make_unique<Channels>(*this)),
      tuning_(std::make_unique<Tuning>(*this)),
      vfo_(std::make_unique<VfoSplit>(*this)),
      transmit_(std::make_unique<Transmit>(*this)),
      amp_(std::make_unique<Amplifier>(*this)),
      cat_(std::make_unique<CatPort>(*this)),
      clients_(std::make_unique<ClientRequests>(*this)),
      menus_(std::make_unique<MainMenus>(*this)),
      mainLoop_(std::make_unique<MainLoop>(*this)) {
  engine.addWindow(frm);
  engine.setErrorReporter([this](const std::string& text) { display_->gShowInfo(text); });
  engine.addLineEventSource(MSComm1, [this](int code) { link_->MSComm1_OnComm(code); });
  engine.addPublishHook([this] { rigState.publish(currentRigState()); });
  // Input on either port ends a wait of the engine at once.
  for (SerialPort* port : {&MSComm1, &MSComm2}) port->setInputNotifier([&clock = clock] { clock.wake(); });
  engine.on(frm.name(), "optMeter", EventKind::Click,
            [this](const InputEvent& e) { meter_->optMeter_Click(e.index); });
}

Panel::~Panel() = default;

RigStateSnapshot Panel::currentRigState() const {
  RigStateSnapshot r;
  r.freqCmd = st.gFreqCmd;
  r.freqValid = st.gFreqValid;
  r.mode = st.gMode;
  r.digitalMode = frm.cmbDig.text;
  r.transmitting = st.gTransmitting;
  r.keyCmd = st.gKeyCmd;
  r.keyed = link_->keyed();
  r.split = frm.lblSplit.caption == "Split On";
  r.transmitOnVfoB = frm.optTXVFO[1].selected();
  r.vfoBFreqCmd = "F";
  for (const auto& digit : frm.cmdVFOB) r.vfoBFreqCmd += digit.caption;
  r.vfoBMode = frm.cmbVFOBMode.text;
  r.control = frm.lblREMOTE.caption;
  r.txUnrestricted = st.gTxUnrestricted;
  r.portLost = !MSComm1.isOpen();
  r.takesSettings = clients_->takesSettings();
  r.takesKeyDown = transmit_->clientMayKey() || transmit_->windingDown();
  return r;
}

void Panel::run() {
  try {
    mainLoop_->Form_Load();
  } catch (const ProgramEnd&) {
  } catch (...) {
    // Something unforeseen escaped the engine: the transmitter is unkeyed
    // before anything else is tried.
    link_->closePort();
    if (MSComm2.isOpen()) MSComm2.close();
    throw;
  }
  // A forced stop never ran the orderly end: it is done here.
  link_->shutdownPort();
  if (MSComm2.isOpen()) MSComm2.close();
  frm.window.visible = false;
  engine.publish();
}

}  // namespace zr
