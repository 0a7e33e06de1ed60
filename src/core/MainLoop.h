#pragma once
// The program's start and engine: startup (placement, initial controls, CAT
// and radio ports, the status query until the transceiver is heard, remote
// or local setup) and then the service loop, which never returns while the
// program runs.
#include <functional>
#include <map>
#include <string>

#include "core/Errors.h"
#include "core/InstanceLock.h"
#include "version/Version.h"

namespace zr {

class Panel;

class MainLoop {
 public:
  explicit MainLoop(Panel& panel) : p_(panel) {}

  // Returns only when the program ends.
  void Form_Load();

  // A window position meaning "centred as at design time".
  static constexpr int kCentredPosition = -2147483647 - 1;
  static constexpr const char* gVersionText = "ZR-3817 " ZR_VERSION " : 11-21-17 : 1600";

  std::string controlMode;
  bool restartPending = false;
  bool localScanAllowed = false;

 private:
  // Where control goes next; the labels of the startup sequence.
  enum class Step { PortCheck, Query, RemoteSetup, RemoteAlign, LocalSetup, LoopInit, Pass, Reconnect };

  void placeWindow();
  void initialControls();
  void openCatPort();
  void readPortSetup();
  Step portCheck();
  Step statusQuery();
  Step afterReport();
  Step remoteSetup();
  Step remoteAlign();
  Step localSetup();
  Step loopInit();
  Step servicePass();
  Step reconnect();
  // True (after pumping) when the radio port has been lost meanwhile.
  bool pumpFindsPortDown();
  double idleBlock() const;
  void externalPtt();
  bool dispatchRequests();
  void detectFirmware(bool remote);
  void query();
  bool bytesWaiting();

  // Reads one settings file; a file that cannot be read is noted with the
  // reason (and `fallback`, what happens instead) and reads as missing.
  template <class Read>
  auto readSettings(const std::string& file, Read read, const char* fallback = "") -> decltype(read());
  // What is wrong with a settings file stays on show until it is read fine.
  void noteFile(const std::string& file, const std::string& problem);
  void forgetFile(const std::string& file) { fileNotes_.erase(file); }
  std::string withFileNotes(const std::string& text) const;

  // Before the service loop first starts a failing statement is skipped;
  // afterwards a failure abandons the pass (see Form_Load).
  void stmt(const std::function<void()>& statement);

  Panel& p_;
  InstanceLock instanceLock_;
  bool loopStarted_ = false;
  std::map<std::string, std::string> fileNotes_;
};

template <class Read>
auto MainLoop::readSettings(const std::string& file, Read read, const char* fallback) -> decltype(read()) {
  forgetFile(file);
  try {
    return read();
  } catch (const RuntimeError& e) {
    noteFile(file, "Err " + std::to_string(e.number) + ". " + e.description + fallback);
    return {};
  }
}

}  // namespace zr
