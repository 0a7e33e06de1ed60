#include "core/MeterDisplay.h"

#include <cmath>

#include "core/CommandComposer.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "core/Panel.h"
#include "core/StatusDisplay.h"

namespace zr {

// 38 characters each, spaced so the marks fall under the bar.
const char* const MeterDisplay::kAudioScale = " -20       -10          0         +10 ";
const char* const MeterDisplay::kPowerScale = "0            25          50   100  150";
const char* const MeterDisplay::kVswrScale = "1               2             3      4";
const char* const MeterDisplay::kSMeterScale = "  S3    S6     S9      +30      +60   ";

void MeterDisplay::gDisplayMeterData(const std::string& line) {
  try {
    const double v = vbVal(line.size() > 1 ? line.substr(1, 2) : std::string());
    meterValue_ = std::lround(std::nearbyint(v));
    Control& bar = p_.frm.pbMeter;
    if (bar.min <= meterValue_ && bar.max >= meterValue_) bar.value = static_cast<int>(meterValue_);
  } catch (const RuntimeError& e) {
    p_.display().gShowInfo(errMessage("gDisplayMeterData", e));
  }
}

void MeterDisplay::gShowMeterSource() {
  MainWindowModel& frm = p_.frm;
  for (std::size_t i = 0; i < frm.lblMeter.size(); ++i) {
    frm.lblMeter[i].foreColor = colours::GrayText;
    frm.optMeter[i].value = 0;
  }
  const std::string& src = p_.st.gMeterSource;
  if (!(src.size() == 2 && src[0] == 'D' && src[1] >= '1' && src[1] <= '6')) return;
  const int k = src[1] - '1';
  frm.lblMeter[k].foreColor = colours::ButtonText;
  frm.optMeter[k].value = 1;
  const bool tx = p_.st.gTransmitting;
  if (k <= 2)
    frm.lblMeterScale.caption = kAudioScale;
  else if (k <= 4)
    frm.lblMeterScale.caption = tx ? kPowerScale : kSMeterScale;
  else
    frm.lblMeterScale.caption = tx ? kVswrScale : kSMeterScale;
}

void MeterDisplay::reset() {
  Control& bar = p_.frm.pbMeter;
  meterValue_ = bar.min;
  bar.value = bar.min;
}

void MeterDisplay::optMeter_Click(int index) {
  chosenIndex_ = index;
  meterPending = true;
}

void MeterDisplay::meterCmd() {
  meterPending = false;
  if (chosenIndex_ < 0 || chosenIndex_ > 5) return;
  p_.cmds().gSetMeter("D" + std::to_string(chosenIndex_ + 1));
}

}  // namespace zr
