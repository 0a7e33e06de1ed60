#pragma once
// A pseudo-terminal whose slave the panel opens like a serial device, linked
// as DIR/COMn. The simulator keeps a slave descriptor of its own open, so the
// master never reads EIO while no panel is connected.
#include <string>

namespace sim {

class PseudoTerminal {
 public:
  // Throws std::runtime_error with the system's text on failure.
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  int masterFd() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }

  // Point `linkPath` at the slave, replacing whatever was there.
  void link(const std::string& linkPath);
  // Remove the link made by link(), if it still points at our slave.
  void unlink();

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
  std::string linkPath_;
};

}  // namespace sim
