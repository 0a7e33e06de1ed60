#include "lists/ChannelSetupDialog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/Errors.h"
#include "core/FileReplace.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"
#include "core/TextFile.h"
#include "lists/ChannelFile.h"
#include "lists/PumpingWait.h"
#include "setup/ModalDialog.h"

namespace zr {

namespace {

// A file the operator made read-only stays as it is, even for a user whom
// the folder would let replace it.
void refuseReadOnly(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  if ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) throw fileError(EACCES);
}

std::string skippedNote(const std::vector<int>& lines) {
  if (lines.empty()) return {};
  return ", " + std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") +
         " skipped (first: line " + std::to_string(lines.front()) + ")";
}

}  // namespace

ChannelSetupDialog::ChannelSetupDialog(Panel& panel) : p_(panel) {
  p_.engine.addWindow(model_);
  registerHandlers();
}

void ChannelSetupDialog::registerHandlers() {
  const std::string w = model_.name();
  auto click = [&](const char* control, void (ChannelSetupDialog::*handler)()) {
    p_.engine.on(w, control, EventKind::Click, [this, handler](const InputEvent&) { (this->*handler)(); });
  };
  click("cmdBrowse", &ChannelSetupDialog::cmdBrowse_Click);
  click("cmdOpenFile", &ChannelSetupDialog::cmdOpenFile_Click);
  click("cmdSaveFile", &ChannelSetupDialog::cmdSaveFile_Click);
  click("cmdLoad", &ChannelSetupDialog::cmdLoad_Click);
  click("cmdStore", &ChannelSetupDialog::cmdStore_Click);
  click("cmdVerify", &ChannelSetupDialog::cmdVerify_Click);
  click("cmdCancel", &ChannelSetupDialog::cmdCancel_Click);
  click("cmdOK", &ChannelSetupDialog::cmdOK_Click);
  p_.engine.on(w, "", EventKind::Close, [this](const InputEvent&) { cmdOK_Click(); });
}

void ChannelSetupDialog::showModal() { showDialog(p_, model_, [this] { Form_Load(); }); }

void ChannelSetupDialog::Form_Load() {
  // The list lives only as long as the window.
  model_ = ChannelSetupWindowModel{};
  running_ = false;
  closeAfterRun_ = false;
  std::error_code ec;
  openingDir_ = std::filesystem::current_path(ec);
  model_.txtFilename.text = (openingDir_ / kDefaultFileName).string();
}

void ChannelSetupDialog::report(const std::string& text) {
  p_.display().gShowInfo(text);
  model_.lblStatus.caption = text;
}

void ChannelSetupDialog::cmdBrowse_Click() {
  FileDialogRequest r;
  r.title = "Select a source file ";
  r.filter = "Text files|*.txt";
  r.filterIndex = 1;
  r.defaultExt = "txt";
  const std::filesystem::path current(model_.txtFilename.text);
  std::error_code ec;
  r.initialDir = std::filesystem::is_directory(current.parent_path(), ec) ? current.parent_path().string()
                                                                           : openingDir_.string();
  if (auto chosen = p_.engine.fileDialog(r)) model_.txtFilename.text = *chosen;
}

void ChannelSetupDialog::cmdOpenFile_Click() {
  // Whatever else is there (a folder, a pipe) is refused by the read, with its reason.
  auto exists = [](const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
  };
  if (!exists(model_.txtFilename.text)) {
    report(errMessage(model_.txtFilename.text, RuntimeError(err::FileNotFound)));
    cmdBrowse_Click();
    if (!exists(model_.txtFilename.text)) return;
  }
  const std::string path = model_.txtFilename.text;
  std::string text;
  try {
    text = readTextFile(path);
  } catch (const RuntimeError& e) {
    // The list stays as it was: a failed read loses nothing.
    report(errMessage(path, e));
    return;
  }
  const ChannelFileContents file = parseChannelFile(text);
  model_.lsbChList.items = file.records;
  model_.lsbChList.text.clear();
  transfer_.forgetVerify();
  const std::size_t n = file.records.size();
  report("Opened " + path + ": " + std::to_string(n) + (n == 1 ? " channel" : " channels") +
         skippedNote(file.skippedLines));
}

void ChannelSetupDialog::cmdSaveFile_Click() {
  FileDialogRequest r;
  r.save = true;
  r.title = "Select the Destination File.";
  r.filter = "All Files|*.*|Text Files|*.txt|";
  r.filterIndex = 2;
  r.defaultExt = "txt";
  r.fileName = model_.txtFilename.text;
  const auto chosen = p_.engine.fileDialog(r);
  if (!chosen) {
    report(errMessage(model_.txtFilename.text, RuntimeError(err::DialogCancelled)));
    return;
  }
  try {
    refuseReadOnly(*chosen);
    replaceFile(*chosen, formatChannelFile(model_.lsbChList.items));
  } catch (const RuntimeError& e) {
    report(errMessage(*chosen, e));
    return;
  }
  model_.txtSaveFilename.text = *chosen;
  report("Saved to " + *chosen);
}

void ChannelSetupDialog::showRunning(bool running) {
  for (Control* c : {&model_.txtFilename, &model_.cmdBrowse, &model_.cmdOpenFile, &model_.cmdSaveFile,
                     &model_.cmdLoad, &model_.cmdStore, &model_.cmdVerify})
    c->enabled = !running;
  model_.cmdCancel.enabled = running;
}

void ChannelSetupDialog::run(const char* routine, std::string (ChannelTransfer::*what)()) {
  if (running_) return;
  if (!p_.MSComm1.isOpen()) {
    report(errMessage(routine, RuntimeError(err::PortNotOpen)));
    return;
  }
  // The service loop, and with it the sync exchange, waits while this
  // window is open: a keyed transmitter would stay keyed for the whole run.
  if (p_.link().keyed()) {
    p_.engine.beep();
    report(std::string(routine) + ": the transmitter is keyed; unkey it before a channel run.");
    return;
  }
  running_ = true;
  showRunning(true);
  OnScopeExit end([this] {
    running_ = false;
    showRunning(false);
  });
  try {
    report((transfer_.*what)());
  } catch (const RuntimeError& e) {
    report(errMessage(routine, e));
  }
  if (closeAfterRun_) Form_Unload();
}

void ChannelSetupDialog::cmdOK_Click() {
  if (running_) {
    // The run ends after its current channel, then the window closes.
    closeAfterRun_ = true;
    transfer_.requestStop();
    return;
  }
  Form_Unload();
}

// The modal loop ends when the window hides and then enables the main window.
void ChannelSetupDialog::Form_Unload() {
  std::error_code ec;
  if (!openingDir_.empty() && std::filesystem::current_path(ec) != openingDir_)
    std::filesystem::current_path(openingDir_, ec);
  model_.window.visible = false;
}

}  // namespace zr
