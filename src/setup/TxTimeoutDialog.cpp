#include "setup/TxTimeoutDialog.h"

#include "core/Errors.h"
#include "core/Panel.h"
#include "setup/ModalDialog.h"

namespace zr {

namespace {
std::string inForce(int seconds) { return "Transmit time-out: " + describeTxTimeout(seconds); }
}  // namespace

TxTimeoutDialog::TxTimeoutDialog(Panel& panel) : p_(panel) {
  p_.engine.addWindow(model_);
  const std::string w = model_.name();
  p_.engine.on(w, "cmdApply", EventKind::Click, [this](const InputEvent&) { cmdApply_Click(); });
  p_.engine.on(w, "cmdSave", EventKind::Click, [this](const InputEvent&) { cmdSave_Click(); });
  p_.engine.on(w, "cmdCancel", EventKind::Click, [this](const InputEvent&) { close(); });
  p_.engine.on(w, "", EventKind::Close, [this](const InputEvent&) { close(); });
}

void TxTimeoutDialog::showModal() { showDialog(p_, model_, [this] { Form_Load(); }); }

// The window opens on the time-out in force, which the command line may
// have set apart from the file.
void TxTimeoutDialog::Form_Load() {
  model_ = TxTimeoutWindowModel{};
  model_.txtSeconds.text = std::to_string(p_.settings.txTimeoutSeconds);
  model_.lblStatus.caption = inForce(p_.settings.txTimeoutSeconds);
}

std::optional<int> TxTimeoutDialog::chosen() {
  const int seconds = parseTxTimeout(model_.txtSeconds.text);
  if (seconds >= 0) return seconds;
  model_.lblStatus.caption = "The time-out must be a whole number of seconds from 0 to " +
                             std::to_string(kTxTimeoutMax) + ".";
  return std::nullopt;
}

void TxTimeoutDialog::cmdApply_Click() {
  const auto seconds = chosen();
  if (!seconds) return;
  p_.settings.txTimeoutSeconds = *seconds;
  model_.lblStatus.caption = inForce(*seconds);
}

void TxTimeoutDialog::cmdSave_Click() {
  const auto seconds = chosen();
  if (!seconds) return;
  try {
    writeTxTimeoutSetup(*seconds);
    model_.lblStatus.caption = std::string(kTxTimeoutFile) + " saved.";
  } catch (const RuntimeError& e) {
    model_.lblStatus.caption = errMessage(kTxTimeoutFile, e);
  }
}

}  // namespace zr
