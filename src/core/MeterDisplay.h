#pragma once
// The bar meter: readings from "J" lines, the selected source and its scale.
#include <string>

namespace zr {

class Panel;

class MeterDisplay {
 public:
  explicit MeterDisplay(Panel& panel) : p_(panel) {}

  void gDisplayMeterData(const std::string& line);
  void gShowMeterSource();
  void optMeter_Click(int index);
  void meterCmd();
  // Nothing measured any more (the radio port is gone): the bar at its rest.
  void reset();

  static const char* const kAudioScale;
  static const char* const kPowerScale;
  static const char* const kVswrScale;
  static const char* const kSMeterScale;

  bool meterPending = false;

 private:
  Panel& p_;
  long meterValue_ = 0;
  int chosenIndex_ = 0;
};

}  // namespace zr
