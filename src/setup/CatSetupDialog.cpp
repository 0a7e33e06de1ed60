#include "setup/CatSetupDialog.h"

#include <algorithm>
#include <vector>

#include "core/Convert.h"
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
    : p_(panel), describePort_(std::move(describePort)) {
  p_.engine.addWindow(model_);
  registerHandlers();
}

void CatSetupDialog::registerHandlers() {
  const std::string w = model_.name();
  auto on = [&](const char* control, EventKind kind, std::function<void(const InputEvent&)> f) {
    p_.engine.on(w, control, kind, std::move(f));
  };
  on("cmbSelectPort", EventKind::Click, [this](const InputEvent&) { cmbSelectPort_Click(); });
  on("optHandShake", EventKind::Click, [this](const InputEvent& e) { optHandShake_Click(e.index); });
  on("cmdLoadPortSettings", EventKind::Click, [this](const InputEvent&) { cmdLoadPortSettings_Click(); });
  on("cmdSavePortSettings", EventKind::Click, [this](const InputEvent&) { cmdSavePortSettings_Click(); });
  on("cmdApply", EventKind::Click, [this](const InputEvent&) { cmdApply_Click(); });
  on("cmdCancel", EventKind::Click, [this](const InputEvent&) { cmdCancel_Click(); });
  on("", EventKind::Close, [this](const InputEvent&) { Form_QueryUnload(); });
}

void CatSetupDialog::showModal() { showDialog(p_, model_, [this] { Form_Load(); }); }

void CatSetupDialog::Form_Load() {
  // Every opening starts from the design values, as a freshly loaded form does.
  model_ = CatSetupWindowModel{};
  handshakeName_.clear();
  findPorts(p_, model_.cmbSelectPort, model_.txtFound);
  SerialPort& port = p_.MSComm2;
  if (port.isOpen()) {
    // The open port fails the probe; without this it could not be kept.
    addAndSelect(model_.cmbSelectPort, std::to_string(port.commPort()));
    const auto fields = splitFields(port.settings(), 4);
    addAndSelect(model_.cmbSelectBaudRate, fields[0]);
    if (fields.size() > 1) addAndSelect(model_.cmbBits, framing(fields));
    selectOption(model_.optHandShake, handshakeOption(port.handshaking()));
  }
  model_.chkKenwood.value = p_.cat().kenwoodDialect() ? 1 : 0;
  showDevice();
}

void CatSetupDialog::cmbSelectPort_Click() { showDevice(); }

void CatSetupDialog::optHandShake_Click(int index) { handshakeName_ = handshakeName(index); }

void CatSetupDialog::cmdLoadPortSettings_Click() {
  loadDialect();
  if (!p_.display().fileExists(kCatSetupFile)) return;
  std::optional<CatSetupValues> v;
  try {
    v = readCatSetup();
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(kCatSetupFile, e));
    return;
  }
  if (!v) return;
  model_.cmbSelectPort.text = fixedText(v->port, 2);
  const auto fields = splitFields(v->settings, 4);
  model_.cmbSelectBaudRate.text = fields[0];
  // A line without framing leaves the framing shown as it was.
  if (fields.size() > 1) model_.cmbBits.text = framing(fields);
  addAndSelect(model_.cmbRigType, v->rigType);
  selectOption(model_.optHandShake, handshakeIndex(v->handshake));
  handshakeName_ = v->handshake;
  showDevice();
}

void CatSetupDialog::cmdSavePortSettings_Click() {
  const int chosen = selectedOption(model_.optHandShake);
  CatSetupValues v;
  v.port = model_.cmbSelectPort.text;
  v.settings = settingsText();
  v.handshake = handshakeName(chosen);  // "comNone" when none is chosen
  v.rigType = model_.cmbRigType.text;
  try {
    writeCatSetup(v);
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage(kCatSetupFile, e));
  }
  saveDialect();
}

// The rig type is only kept in the file: the port speaks one dialect.
void CatSetupDialog::cmdApply_Click() {
  Settings& s = p_.settings;
  s.gCATSettings = settingsText();
  if (const int chosen = selectedOption(model_.optHandShake); chosen >= 0) s.gCATHandshake = handshakeName(chosen);
  s.gCATPort = model_.cmbSelectPort.text;
  p_.cat().setKenwoodDialect(model_.chkKenwood.value != 0);
  p_.form.gCATSetupChanged = true;
  close();
}

void CatSetupDialog::cmdCancel_Click() { close(); }

void CatSetupDialog::Form_QueryUnload() { close(); }

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

void CatSetupDialog::showDevice() { model_.lblDevice.caption = describePortText(describePort_, model_.cmbSelectPort.text); }

}  // namespace zr
