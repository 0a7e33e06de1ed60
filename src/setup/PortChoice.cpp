#include "setup/PortChoice.h"

#include <algorithm>

#include "core/Convert.h"
#include "core/Panel.h"
#include "core/SettingsFiles.h"
#include "core/StatusDisplay.h"
#include "setup/PortList.h"

namespace zr {

PortChoice::PortChoice(Panel& panel, SerialPort& port, PortDescriber describePort, Controls controls)
    : p_(panel), port_(port), describePort_(std::move(describePort)), c_(controls) {}

void PortChoice::registerHandlers(const std::string& window, const Handlers& h) {
  auto on = [&](const char* control, EventKind kind, std::function<void(const InputEvent&)> f) {
    p_.engine.on(window, control, kind, std::move(f));
  };
  auto call = [](std::function<void()> f) { return [f = std::move(f)](const InputEvent&) { f(); }; };
  on("cmbSelectPort", EventKind::Click, [this](const InputEvent&) { showDevice(); });
  on("cmbDevice", EventKind::Click, [this](const InputEvent&) { cmbDevice_Click(); });
  on("optHandShake", EventKind::Click, [this](const InputEvent& e) { optHandShake_Click(e.index); });
  on("cmdLoadPortSettings", EventKind::Click, call(h.load));
  on("cmdSavePortSettings", EventKind::Click, call(h.save));
  on("cmdApply", EventKind::Click, call(h.apply));
  on("cmdCancel", EventKind::Click, call(h.close));
  on("", EventKind::Close, call(h.close));
}

void PortChoice::loadPorts() {
  findPorts(p_, c_.cmbSelectPort, c_.txtFound);
  if (port_.isOpen()) addAndSelect(c_.cmbSelectPort, std::to_string(port_.commPort()));
  devices_ = listDevices_ ? listDevices_() : std::vector<SerialDevice>{};
  c_.cmbDevice.items.clear();
  c_.cmbDevice.text.clear();
  for (const SerialDevice& d : devices_) c_.cmbDevice.items.push_back(deviceLabel(d));
  c_.cmbDevice.enabled = !devices_.empty();
}

void PortChoice::showLoaded(const std::string& port, const std::string& handshake) {
  c_.cmbSelectPort.text = fixedText(port, 2);
  selectOption(c_.optHandShake, handshakeIndex(handshake));
  handshakeName_ = handshake;
  showDevice();
}

std::string PortChoice::handshakeToSave(const std::string& fallback) const {
  const int chosen = selectedOption(c_.optHandShake);
  return chosen >= 0 ? handshakeName(chosen) : fallback;
}

void PortChoice::apply(std::string& port, std::string& handshake) const {
  if (const int chosen = selectedOption(c_.optHandShake); chosen >= 0) handshake = handshakeName(chosen);
  port = c_.cmbSelectPort.text;
}

void PortChoice::write(const char* file, const std::function<void()>& writer) {
  try {
    writer();
  } catch (const RuntimeError& e) {
    showFileError(file, e);
  }
}

void PortChoice::showDevice() { c_.lblDevice.caption = describePortText(describePort_, c_.cmbSelectPort.text); }

void PortChoice::optHandShake_Click(int index) { handshakeName_ = handshakeName(index); }

// A device becomes a numbered port through a COMn link, so the setup files
// keep their port numbers.
void PortChoice::cmbDevice_Click() {
  const auto& items = c_.cmbDevice.items;
  const auto it = std::find(items.begin(), items.end(), c_.cmbDevice.text);
  if (it == items.end()) return;
  const SerialDevice& device = devices_[static_cast<std::size_t>(it - items.begin())];
  try {
    const int n = linkPortFor(device.path, reservedNumbers());
    addAndSelect(c_.cmbSelectPort, std::to_string(n));
    showDevice();
  } catch (const RuntimeError& e) {
    c_.lblDevice.caption = e.description;
  }
}

// Numbers another port already stands for: the ports set up or open, and
// the built-in ports a new link would hide.
std::set<int> PortChoice::reservedNumbers() const {
  std::set<int> taken = builtInPortNumbers(devices_);
  for (const std::string& setting : {p_.settings.gRadioPort, p_.settings.gCATPort})
    if (const long n = leadingNumber(setting); n > 0 && n <= kLastListedPort) taken.insert(static_cast<int>(n));
  for (const SerialPort* port : {&p_.MSComm1, &p_.MSComm2})
    if (port->isOpen()) taken.insert(port->commPort());
  return taken;
}

bool PortChoice::fileExists(const char* file) { return p_.display().fileExists(file); }

void PortChoice::showFileError(const char* file, const RuntimeError& e) { p_.display().gShowInfo(errMessage(file, e)); }

}  // namespace zr
