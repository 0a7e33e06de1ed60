#pragma once
// A pseudo-terminal standing in for a radio: the panel opens the slave
// through a COMn link in a temp directory, the test plays the radio on the
// master.
#include <chrono>
#include <string>
#include <string_view>

#include "TempDir.h"

namespace zr {

class PtyPair {
 public:
  explicit PtyPair(int portNumber);
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::filesystem::path& dir() const { return dir_.path(); }
  int port() const { return port_; }
  // The test's own descriptor of the slave, kept open so its settings can be
  // inspected; nobody reads from it.
  int slaveFd() const { return slave_; }

  void send(std::string_view bytes);  // to the panel
  // What the panel wrote, collected until `count` bytes or the timeout (long
  // by default: it ends at the last byte, and a loaded machine is slow).
  std::string receive(size_t count, std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
  void closeMaster();

 private:
  TempDir dir_;
  int port_;
  int master_ = -1;
  int slave_ = -1;
};

}  // namespace zr
