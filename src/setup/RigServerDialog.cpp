#include "setup/RigServerDialog.h"

#include "core/Errors.h"
#include "core/Panel.h"
#include "setup/ModalDialog.h"

namespace zr {

RigServerDialog::RigServerDialog(Panel& panel) : p_(panel) {
  p_.engine.addWindow(model_);
  const std::string w = model_.name();
  p_.engine.on(w, "txtAddress", EventKind::Change, [this](const InputEvent&) { txtAddress_Change(); });
  p_.engine.on(w, "cmdApply", EventKind::Click, [this](const InputEvent&) { cmdApply_Click(); });
  p_.engine.on(w, "cmdSave", EventKind::Click, [this](const InputEvent&) { cmdSave_Click(); });
  p_.engine.on(w, "cmdCancel", EventKind::Click, [this](const InputEvent&) { close(); });
  p_.engine.on(w, "", EventKind::Close, [this](const InputEvent&) { close(); });
}

void RigServerDialog::showModal() { showDialog(p_, model_, [this] { Form_Load(); }); }

// The window opens on the settings in force, which the command line may
// have set apart from the file.
void RigServerDialog::Form_Load() {
  model_ = RigServerWindowModel{};
  const RigServerSetup& s = p_.settings.rigServer;
  model_.chkEnabled.value = s.enabled ? 1 : 0;
  model_.txtPort.text = std::to_string(s.port);
  model_.txtAddress.text = s.address;
  model_.lblStatus.caption = p_.frm.lblRigServer.caption;
  txtAddress_Change();
}

void RigServerDialog::txtAddress_Change() { model_.lblWarning.visible = !model_.txtAddress.text.empty(); }

std::optional<RigServerSetup> RigServerDialog::chosen() {
  RigServerSetup s;
  s.enabled = model_.chkEnabled.value != 0;
  s.port = parseRigServerPort(model_.txtPort.text);
  s.address = model_.txtAddress.text;
  if (s.port != 0) return s;
  model_.lblStatus.caption = "The port must be a number from 1 to 65535.";
  return std::nullopt;
}

void RigServerDialog::cmdApply_Click() {
  const auto s = chosen();
  if (!s) return;
  p_.settings.rigServer = *s;
  const std::string status = p_.restartRigServer ? p_.restartRigServer(*s) : std::string();
  model_.lblStatus.caption = status;
  p_.frm.lblRigServer.caption = status;
}

void RigServerDialog::cmdSave_Click() {
  const auto s = chosen();
  if (!s) return;
  try {
    writeRigServerSetup(*s);
    model_.lblStatus.caption = std::string(kRigServerFile) + " saved.";
  } catch (const RuntimeError& e) {
    model_.lblStatus.caption = errMessage(kRigServerFile, e);
  }
}

}  // namespace zr
