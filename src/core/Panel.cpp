#include "core/Panel.h"

#include <fstream>

#include "core/CommandComposer.h"
#include "core/Errors.h"
#include "core/MeterDisplay.h"
#include "core/RadioLink.h"
#include "core/StatusDecoder.h"
#include "core/StatusDisplay.h"
#include "core/SyncPoller.h"

namespace zr {

Panel::Panel(Clock& clock_, Host& host_, SerialPort& radioPort, SerialPort& catPort, PortProbe& probe_)
    : clock(clock_),
      host(host_),
      MSComm1(radioPort),
      MSComm2(catPort),
      probe(probe_),
      engine(clock_, host_),
      link_(std::make_unique<RadioLink>(*this)),
      cmds_(std::make_unique<CommandComposer>(*this)),
      decoder_(std::make_unique<StatusDecoder>(*this)),
      display_(std::make_unique<StatusDisplay>(*this)),
      meter_(std::make_unique<MeterDisplay>(*this)),
      sync_(std::make_unique<SyncPoller>(*this)) {
  engine.addWindow(frm);
  engine.setErrorReporter([this](const std::string& text) { display_->gShowInfo(text); });
  engine.addLineEventSource(MSComm1, [this](int code) { link_->MSComm1_OnComm(code); });
  engine.on(frm.name(), "", EventKind::Close, [this](const InputEvent&) { engine.requestQuit(); });
  engine.on(frm.name(), "mnuFileExit", EventKind::Click, [this](const InputEvent&) { engine.requestQuit(); });
  engine.on(frm.name(), "optMeter", EventKind::Click,
            [this](const InputEvent& e) { meter_->optMeter_Click(e.index); });
}

Panel::~Panel() = default;

namespace {

// Reads the radio port lines of "PortSetup.txt" when it is there.
void readPortSetup(Settings& s) {
  std::ifstream in("PortSetup.txt", std::ios::binary);
  if (!in) return;
  std::string lines[4];
  for (auto& line : lines) {
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }
  s.gRadioPort = lines[0];
  s.gRadioSettings = lines[1];
  s.gRadioHandshake = lines[2];
  s.gExtPttEnabled = lines[3] == "1";
}

}  // namespace

// A first connection loop: open the radio port, query until a complete
// report arrives, then keep the display and the sync exchange going. The
// full startup sequence and service loop replace it.
void Panel::run() {
  frm.window.caption = "ZR-3817 0.962 : 11-21-17 : 1600";
  frm.window.visible = true;
  try {
    readPortSetup(settings);
    try {
      form.radioPortOpen = link_->SetUpRadioPort();
      if (form.radioPortOpen) {
        frm.lblComStat.caption = "COM" + settings.gRadioPort;
        frm.txtInfo.text = "Querying radio status";
      }
    } catch (const RuntimeError& e) {
      display_->gShowInfo(errMessage("SetUpRadioPort", e));
    }
    for (;;) {
      engine.pump(0.02);
      try {
        if (!st.gResponseComplete) {
          link_->gSendCommand("?", true, 0.6);
          link_->gReadResponse();
          if (st.gResponseComplete) frm.txtInfo.text.clear();
        }
        display_->gUpdateDisplay();
        frm.shaTrace.fillColor = colours::GrayText;
        if (st.gResponseComplete) sync_->pollTxState();
        if (st.gMissedSyncs > SyncPoller::kMaxMissed) {
          frm.txtInfo.text = "No Sync Response: Restarting...";
          st.gResponseComplete = false;
          st.gMissedSyncs = 0;
        }
        if (meter_->meterPending) meter_->meterCmd();
      } catch (const RuntimeError& e) {
        display_->gShowInfo(errMessage("Form_Load", e));
        engine.pump(0.5);
      }
    }
  } catch (const ProgramEnd&) {
  }
  if (MSComm1.isOpen()) MSComm1.close();
  if (MSComm2.isOpen()) MSComm2.close();
  frm.window.visible = false;
  engine.publish();
}

}  // namespace zr
