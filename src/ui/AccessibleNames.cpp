// Names for the controls whose caption, label or tooltip does not tell a
// listener what they are. Everything else is named from the model itself,
// so a window added later is named without an entry here.
#include <array>
#include <string_view>

#include "ui/AccessibleText.h"

namespace zr::accessible {

namespace {

struct Given {
  std::string_view window;
  std::string_view control;
  int index;  // kAnyRow: every element of the array, named "<text>, row <n>"
  std::string_view text;
};

constexpr int kAnyRow = -2;
constexpr std::string_view kMain = "frmZR3817";

constexpr std::array kGiven = {
    Given{kMain, "cmbVFOBMode", -1, "VFO B mode"},
    Given{kMain, "cmdA2B", -1, "Copy VFO A to VFO B"},
    Given{kMain, "cmdSwap", -1, "Swap VFO A and VFO B"},
    Given{kMain, "cmdV2M", -1, "VFO to memory"},
    Given{kMain, "cmdM2V", -1, "Memory to VFO"},
    Given{kMain, "cmbStepSize", -1, "Step of the I and D keys"},
    Given{kMain, "cmdMute", -1, "Panel speaker"},
    Given{kMain, "cmdClipping", -1, "Clipping"},
    Given{kMain, "cmdSideTone", -1, "Side tone"},
    Given{kMain, "cmdPTTEn", -1, "PTT enable"},
    Given{kMain, "cmdGetStatus", -1, "Refresh radio status"},
    Given{kMain, "vscRFG", -1, "RF gain"},
    Given{kMain, "txtRFG", -1, "RF gain, percent"},
    Given{kMain, "cmdBFO", -1, "BFO on or off"},
    Given{kMain, "vscBFO", -1, "BFO offset"},
    Given{kMain, "txtBFO", -1, "BFO offset, Hz"},
    Given{kMain, "cmdAmpPwr", -1, "Amplifier power"},
    Given{kMain, "cmdAmpOpr", -1, "Amplifier operate or standby"},
    Given{kMain, "cmdTuneAmp", -1, "Amplifier tune"},
    Given{kMain, "lblAmpPwr", -1, "Amplifier power state"},
    Given{kMain, "lblAmpOpStby", -1, "Amplifier operate state"},
    Given{kMain, "lblAmpTuned", -1, "Amplifier tune state"},
    Given{kMain, "cmd160M", -1, "160 metre band list"},
    Given{kMain, "cmd75M", -1, "75 metre band list"},
    Given{kMain, "cmd60M", -1, "60 metre band list"},
    Given{kMain, "cmd40M", -1, "40 metre band list"},
    Given{kMain, "cmd30M", -1, "30 metre band list"},
    Given{kMain, "cmd20M", -1, "20 metre band list"},
    Given{kMain, "cmd17M", -1, "17 metre band list"},
    Given{kMain, "cmd15M", -1, "15 metre band list"},
    Given{kMain, "cmd12M", -1, "12 metre band list"},
    Given{kMain, "cmd10M", -1, "10 metre band list"},
    Given{kMain, "cmdWWV", -1, "WWV band list"},
    Given{kMain, "cmdMARS", -1, "MARS band list"},
    Given{kMain, "optMeter", 0, "Meter, audio level"},
    Given{kMain, "optMeter", 1, "Meter, line level"},
    Given{kMain, "optMeter", 2, "Meter, patch level"},
    Given{kMain, "optMeter", 3, "Meter, forward power"},
    Given{kMain, "optMeter", 4, "Meter, reflected power"},
    Given{kMain, "optMeter", 5, "Meter, VSWR"},
    Given{kMain, "pbMeter", -1, "Meter"},
    Given{kMain, "txtInfo", -1, "Information"},
    Given{kMain, "txtInCat", -1, "CAT port, received"},
    Given{kMain, "txtOutCAT", -1, "CAT port, sent"},
    Given{"frmScanBands", "txtScanLow", -1, "Lower limit, MHz"},
    Given{"frmScanBands", "txtScanHi", -1, "Upper limit, MHz"},
    Given{"frmScanBands", "txtFreq", -1, "Scanned frequency"},
    Given{"frmScanFreqs", "Check1", kAnyRow, "Scan"},
    Given{"frmScanFreqs", "txtFreq", kAnyRow, "Frequency"},
    Given{"frmScanFreqs", "txtMode", kAnyRow, "Mode"},
    Given{"frmScanFreqs", "txtInfo", kAnyRow, "Note"},
    Given{"frmBandSelect", "Option1", kAnyRow, "Choose"},
    Given{"frmBandSelect", "txtFreq", kAnyRow, "Frequency"},
    Given{"frmBandSelect", "txtMode", kAnyRow, "Mode"},
    Given{"frmBandSelect", "txtInfo", kAnyRow, "Note"},
    Given{"frmChannelSetup", "lsbChList", -1, "Channels"},
    Given{"frmChannelSetup", "txtFilename", -1, "Channel file folder"},
    Given{"frmChannelSetup", "txtSaveFilename", -1, "Channel file written"},
    Given{"frmChannelSetup", "prgProgress", -1, "Progress of the run"},
    Given{"frmChannelSetup", "txtResp", -1, "Radio's answer"},
    Given{"frmChannelSetup", "lsbVerify", -1, "Differences found by Verify"},
};

}  // namespace

std::string givenName(const std::string& window, const Control& control) {
  for (const Given& g : kGiven) {
    if (g.window != window || g.control != control.name) continue;
    if (g.index == kAnyRow && control.index >= 0)
      return std::string(g.text) + ", row " + std::to_string(control.index + 1);
    if (g.index == control.index) return std::string(g.text);
  }
  return {};
}

}  // namespace zr::accessible
