#include "setup/PortSetupDialog.h"

#include "core/Panel.h"
#include "core/SettingsFiles.h"
#include "setup/ModalDialog.h"
#include "setup/PortList.h"

namespace zr {

namespace {

// The radio port always runs 7 data bits, odd parity, 1 stop bit.
constexpr const char* kFraming = ",O,7,1";

std::string firstField(const std::string& settings) { return settings.substr(0, settings.find(',')); }

}  // namespace

PortSetupDialog::PortSetupDialog(Panel& panel, PortDescriber describePort)
    : p_(panel),
      choice_(panel, panel.MSComm1, std::move(describePort),
              {model_.cmbSelectPort, model_.txtFound, model_.lblDevice, model_.cmbDevice, model_.optHandShake}) {
  p_.engine.addWindow(model_);
  choice_.registerHandlers(model_.name(), {[this] { cmdLoadPortSettings_Click(); },
                                           [this] { cmdSavePortSettings_Click(); }, [this] { cmdApply_Click(); },
                                           [this] { close(); }});
  // The choice is read when it is saved or applied.
  p_.engine.on(model_.name(), "cmbSelectBaudRate", EventKind::Click, [](const InputEvent&) {});
}

void PortSetupDialog::showModal() { showDialog(p_, model_, [this] { Form_Load(); }); }

void PortSetupDialog::Form_Load() {
  // Every opening starts from the design values, as a freshly loaded form does.
  model_ = PortSetupWindowModel{};
  choice_.resetHandshake();
  choice_.loadPorts();
  SerialPort& port = p_.MSComm1;
  model_.cmbSelectBaudRate.text = firstField(port.settings());
  selectOption(model_.optHandShake, handshakeOption(port.handshaking()));
  if (p_.settings.gExtPttEnabled) model_.chkExtPTTEna.value = 1;
  choice_.showDevice();
}

void PortSetupDialog::cmdLoadPortSettings_Click() {
  const auto v = choice_.read<PortSetupValues>(kPortSetupFile, [] { return readPortSetup(); });
  if (!v) return;
  model_.chkExtPTTEna.value = leadingNumber(v->extPtt) == 1 ? 1 : 0;
  model_.cmbSelectBaudRate.text = firstField(v->settings);
  choice_.showLoaded(v->port, v->handshake);
}

void PortSetupDialog::cmdSavePortSettings_Click() {
  PortSetupValues v;
  v.port = model_.cmbSelectPort.text;
  v.settings = model_.cmbSelectBaudRate.text + kFraming;
  v.handshake = choice_.handshakeToSave(choice_.lastHandshake());
  v.extPtt = model_.chkExtPTTEna.selected() ? "1" : "0";
  choice_.write(kPortSetupFile, [&v] { writePortSetup(v); });
}

void PortSetupDialog::cmdApply_Click() {
  Settings& s = p_.settings;
  s.gRadioSettings = model_.cmbSelectBaudRate.text + kFraming;
  choice_.apply(s.gRadioPort, s.gRadioHandshake);
  p_.form.gPortSetupDone = true;
  // Unticking must switch the external PTT off, and a DSR line that was
  // held must no longer count as a pressed PTT.
  s.gExtPttEnabled = model_.chkExtPTTEna.selected();
  if (!s.gExtPttEnabled) p_.form.extPttIdle = true;
  close();
}

// The modal loop ends when the window hides and then enables the main window.
void PortSetupDialog::close() { model_.window.visible = false; }

}  // namespace zr
