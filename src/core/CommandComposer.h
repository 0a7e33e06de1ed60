#pragma once
// Composes the frequency, mode, AGC, meter and PTT-enable commands for the
// firmware in use: absolute codes on type 2, step letters on types 1 and 3.
#include <string>

namespace zr {

class Panel;

class CommandComposer {
 public:
  explicit CommandComposer(Panel& panel) : p_(panel) {}

  void gSetFreq(const std::string& digits);
  void gSetMode(const std::string& modeCode);
  std::string gModeStepCmd(const std::string& modeCode) const;
  static int gModeIndex(const std::string& modeCode);
  void gStepMode();
  void gSetAgc(const std::string& agcCode);
  void gSetMeter(const std::string& meterCode);
  static int gMeterIndex(const std::string& meterCode);
  void gTogglePttEnable();

 private:
  Panel& p_;
};

}  // namespace zr
