#pragma once
// What the radio and CAT port dialogs share: the port list with the
// machine's own serial devices, the handshake options, the file handling of
// Load and Save, and the port and handshaking that Apply hands on. Each
// dialog keeps only the fields of its own.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "setup/SerialDevices.h"
#include "ui/Control.h"

namespace zr {

class Panel;
class SerialPort;

class PortChoice {
 public:
  // Where port n leads on this system, for the operator ("COM3 -> /dev/ttyUSB0").
  using PortDescriber = std::function<std::string(int portNumber)>;

  // The dialog's controls of the same name.
  struct Controls {
    Control& cmbSelectPort;
    Control& txtFound;
    Control& lblDevice;
    Control& cmbDevice;
    std::array<Control, 4>& optHandShake;
  };
  // The dialog's own handlers for its buttons and its close.
  struct Handlers {
    std::function<void()> load, save, apply, close;
  };

  PortChoice(Panel& panel, SerialPort& port, PortDescriber describePort, Controls controls);

  void registerHandlers(const std::string& window, const Handlers& handlers);

  // Opening: the ports found, the dialog's port kept choosable while it is
  // open (an open port fails the probe), and the devices of the machine.
  void loadPorts();

  // Load: the port as its first two characters, and the handshake option
  // the name selects (any other name selects "NONE" but is kept).
  void showLoaded(const std::string& port, const std::string& handshake);
  // Save: the chosen option's name, or `fallback` when none is chosen.
  std::string handshakeToSave(const std::string& fallback) const;
  // Apply: the chosen port, and the chosen handshaking (unchanged when none is).
  void apply(std::string& port, std::string& handshake) const;
  const std::string& lastHandshake() const { return handshakeName_; }

  // Reads a settings file for Load: nothing when it is missing or unreadable
  // (the error shown in the information box).
  template <class Values>
  std::optional<Values> read(const char* file, const std::function<std::optional<Values>()>& reader) {
    if (!fileExists(file)) return std::nullopt;
    try {
      return reader();
    } catch (const RuntimeError& e) {
      showFileError(file, e);
      return std::nullopt;
    }
  }
  // Writes a settings file for Save; an error goes to the information box.
  void write(const char* file, const std::function<void()>& writer);

  // The machine's serial devices (set by the program; none without it).
  using DeviceLister = std::function<std::vector<SerialDevice>()>;
  void setDeviceLister(DeviceLister lister) { listDevices_ = std::move(lister); }

  void resetHandshake() { handshakeName_.clear(); }
  void showDevice();

 private:
  void optHandShake_Click(int index);
  void cmbDevice_Click();
  bool fileExists(const char* file);
  void showFileError(const char* file, const RuntimeError& e);
  std::set<int> reservedNumbers() const;

  Panel& p_;
  SerialPort& port_;
  PortDescriber describePort_;
  Controls c_;
  DeviceLister listDevices_;
  std::vector<SerialDevice> devices_;
  // Name of the handshake option last clicked or loaded.
  std::string handshakeName_;
};

}  // namespace zr
