#include "setup/CatSetupDialog.h"

#include <vector>

#include "core/Errors.h"
#include "core/Panel.h"
#include "core/SettingsFiles.h"
#include "cat/CatPort.h"
#include "core/StatusDisplay.h"
#include "setup/CatDialectSetup.h"
#include "setup/ModalDialog.h"
#include "setup/PortList.h"

namespace zr {

namespace {

// At most `limit` fields; the last one keeps any further commas.
std::vector<std::string> splitFields(const std::string& text, std::size_t limit) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (fields.size() + 1 < limit) {
    const std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) break;
    fields.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  fields.push_back(text.substr(start));
  return fields;
}

// Fields 2 to 4 (parity, data bits, stop bits) joined by commas.
std::string framing(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 1; i < fields.size() && i < 4; ++i) out += (i > 1 ? "," : "") + fields[i];
  return out;
}

}  // namespace

CatSetupDialog::CatSetupDialog(Panel& panel, PortDescriber describePort)
    : p_(panel),
      choice_(panel, panel.MSComm2, std::move(describePort),
              {model_.cmbSelectPort, model_.txtFound, model_.lblDevice, model_.cmbDevice, model_.optHandShake}) {
  p_.engine.addWindow(model_);
  choice_.registerHandlers(model_.name(), {[this] { cmdLoadPortSettings_Click(); },
                                           [this] { cmdSavePortSettings_Click(); }, [this] { cmdApply_Click(); },
                                           [this] { close(); }});
}

void CatSetupDialog::showModal() { showDialog(p_, model_, [this] { Form_Load(); }); }

void CatSetupDialog::Form_Load() {
  // Every opening starts from the design values, as a freshly loaded form does.
  model_ = CatSetupWindowModel{};
  choice_.resetHandshake();
  choice_.loadPorts();
  SerialPort& port = p_.MSComm2;
  if (port.isOpen()) {
    const auto fields = splitFields(port.settings(), 4);
    addAndSelect(model_.cmbSelectBaudRate, fields[0]);
    if (fields.size() > 1) addAndSelect(model_.cmbBits, framing(fields));
    selectOption(model_.optHandShake, handshakeOption(port.handshaking()));
  }
  model_.chkKenwood.value = p_.cat().kenwoodDialect() ? 1 : 0;
  choice_.showDevice();
}

void CatSetupDialog::cmdLoadPortSettings_Click() {
  loadDialect();
  const auto v = choice_.read<CatSetupValues>(kCatSetupFile, [] { return readCatSetup(); });
  if (!v) return;
  const auto fields = splitFields(v->settings, 4);
  model_.cmbSelectBaudRate.text = fields[0];
  // A line without framing leaves the framing shown as it was.
  if (fields.size() > 1) model_.cmbBits.text = framing(fields);
  addAndSelect(model_.cmbRigType, v->rigType);
  choice_.showLoaded(v->port, v->handshake);
}

void CatSetupDialog::cmdSavePortSettings_Click() {
  CatSetupValues v;
  v.port = model_.cmbSelectPort.text;
  v.settings = settingsText();
  v.handshake = choice_.handshakeToSave("comNone");
  v.rigType = model_.cmbRigType.text;
  choice_.write(kCatSetupFile, [&v] { writeCatSetup(v); });
  saveDialect();
}

// The rig type is only kept in the file: the port speaks one dialect.
void CatSetupDialog::cmdApply_Click() {
  Settings& s = p_.settings;
  s.gCATSettings = settingsText();
  choice_.apply(s.gCATPort, s.gCATHandshake);
  p_.cat().setKenwoodDialect(model_.chkKenwood.value != 0);
  p_.form.gCATSetupChanged = true;
  close();
}

// The modal loop ends when the window hides and then enables the main window.
void CatSetupDialog::close() { model_.window.visible = false; }

std::string CatSetupDialog::settingsText() const {
  return model_.cmbSelectBaudRate.text + "," + model_.cmbBits.text;
}

// The dialect has its own file, so "CATSetup.txt" keeps its layout.
void CatSetupDialog::loadDialect() {
  std::string problem;
  const bool kenwood = readCatDialect(problem);
  if (!problem.empty()) return p_.display().gShowInfo(problem);
  model_.chkKenwood.value = kenwood ? 1 : 0;
}

void CatSetupDialog::saveDialect() {
  try {
    writeCatDialect(model_.chkKenwood.value != 0);
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(kCatDialectFile, e));
  }
}

}  // namespace zr
