#include "setup/PortSetupDialog.h"

#include <algorithm>

#include "core/Convert.h"
#include "core/Errors.h"
#include "core/Panel.h"
#include "core/SettingsFiles.h"
#include "core/StatusDisplay.h"
#include "setup/ModalDialog.h"
#include "setup/PortList.h"

namespace zr {

namespace {

// The radio port always runs 7 data bits, odd parity, 1 stop bit.
constexpr const char* kFraming = ",O,7,1";

std::string firstField(const std::string& settings) { return settings.substr(0, settings.find(',')); }

}  // namespace

PortSetupDialog::PortSetupDialog(Panel& panel, PortDescriber describePort)
    : p_(panel), describePort_(std::move(describePort)) {
  p_.engine.addWindow(model_);
  registerHandlers();
}

void PortSetupDialog::registerHandlers() {
  const std::string w = model_.name();
  auto on = [&](const char* control, EventKind kind, std::function<void(const InputEvent&)> f) {
    p_.engine.on(w, control, kind, std::move(f));
  };
  on("cmbSelectPort", EventKind::Click, [this](const InputEvent&) { cmbSelectPort_Click(); });
  on("cmbSelectBaudRate", EventKind::Click, [this](const InputEvent&) { cmbSelectBaudRate_Click(); });
  on("optHandShake", EventKind::Click, [this](const InputEvent& e) { optHandShake_Click(e.index); });
  on("cmdLoadPortSettings", EventKind::Click, [this](const InputEvent&) { cmdLoadPortSettings_Click(); });
  on("cmdSavePortSettings", EventKind::Click, [this](const InputEvent&) { cmdSavePortSettings_Click(); });
  on("cmdApply", EventKind::Click, [this](const InputEvent&) { cmdApply_Click(); });
  on("cmdCancel", EventKind::Click, [this](const InputEvent&) { cmdCancel_Click(); });
  on("", EventKind::Close, [this](const InputEvent&) { Form_QueryUnload(); });
}

void PortSetupDialog::showModal() { showDialog(p_, model_, [this] { Form_Load(); }); }

void PortSetupDialog::Form_Load() {
  // Every opening starts from the design values, as a freshly loaded form does.
  model_ = PortSetupWindowModel{};
  handshakeName_.clear();
  findPorts(p_, model_.cmbSelectPort, model_.txtFound);
  SerialPort& port = p_.MSComm1;
  if (port.isOpen()) {
    // The open port fails the probe; without this it could not be kept.
    addAndSelect(model_.cmbSelectPort, std::to_string(port.commPort()));
  }
  model_.cmbSelectBaudRate.text = firstField(port.settings());
  selectOption(model_.optHandShake, handshakeOption(port.handshaking()));
  if (p_.settings.gExtPttEnabled) model_.chkExtPTTEna.value = 1;
  showDevice();
}

void PortSetupDialog::cmbSelectPort_Click() { showDevice(); }

// The choice is read when it is saved or applied.
void PortSetupDialog::cmbSelectBaudRate_Click() {}

void PortSetupDialog::optHandShake_Click(int index) { handshakeName_ = handshakeName(index); }

void PortSetupDialog::cmdLoadPortSettings_Click() {
  if (!p_.display().fileExists(kPortSetupFile)) return;
  std::optional<PortSetupValues> v;
  try {
    v = readPortSetup();
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(kPortSetupFile, e));
    return;
  }
  if (!v) return;
  model_.chkExtPTTEna.value = leadingNumber(v->extPtt) == 1 ? 1 : 0;
  model_.cmbSelectPort.text = fixedText(v->port, 2);
  model_.cmbSelectBaudRate.text = firstField(v->settings);
  selectOption(model_.optHandShake, handshakeIndex(v->handshake));
  handshakeName_ = v->handshake;
  showDevice();
}

void PortSetupDialog::cmdSavePortSettings_Click() {
  const int chosen = selectedOption(model_.optHandShake);
  PortSetupValues v;
  v.port = model_.cmbSelectPort.text;
  v.settings = model_.cmbSelectBaudRate.text + kFraming;
  v.handshake = chosen >= 0 ? handshakeName(chosen) : handshakeName_;
  v.extPtt = model_.chkExtPTTEna.selected() ? "1" : "0";
  try {
    writePortSetup(v);
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(kPortSetupFile, e));
  }
}

void PortSetupDialog::cmdApply_Click() {
  Settings& s = p_.settings;
  s.gRadioSettings = model_.cmbSelectBaudRate.text + kFraming;
  if (const int chosen = selectedOption(model_.optHandShake); chosen >= 0) s.gRadioHandshake = handshakeName(chosen);
  s.gRadioPort = model_.cmbSelectPort.text;
  p_.form.gPortSetupDone = true;
  // Unticking must switch the external PTT off, and a DSR line that was
  // held must no longer count as a pressed PTT.
  s.gExtPttEnabled = model_.chkExtPTTEna.selected();
  if (!s.gExtPttEnabled) p_.form.extPttIdle = true;
  close();
}

void PortSetupDialog::cmdCancel_Click() { close(); }

void PortSetupDialog::Form_QueryUnload() { close(); }

// The modal loop ends when the window hides and then enables the main window.
void PortSetupDialog::close() { model_.window.visible = false; }

void PortSetupDialog::showDevice() { model_.lblDevice.caption = describePortText(describePort_, model_.cmbSelectPort.text); }

}  // namespace zr
