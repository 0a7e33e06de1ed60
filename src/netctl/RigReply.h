#pragma once
// Answers in the network rig-control dialect: the values of a query as
// records, the result code, and how both are written out in the default and
// in the extended response protocol. Pure functions, no state.
#include <string>
#include <utility>
#include <vector>

#include "netctl/RigCommand.h"

namespace zr {

struct RigReply {
  // Key as the extended protocol names it ("Frequency") and value; a record
  // with an empty key is written as its value alone.
  std::vector<std::pair<std::string, std::string>> records;
  int code = rprt::Ok;

  static RigReply error(int code) { return RigReply{{}, code}; }
};

// The text that answers `line` with `reply`.
std::string formatRigReply(const RigLine& line, const RigReply& reply);

// The capabilities a client reads once on connecting ("\dump_state"): the
// panel's receive range, the bands it transmits on (all of the receive
// range when transmission is unrestricted), modes, filters and the
// protocol's key=value section, each line without its line end.
std::vector<std::string> dumpStateLines(bool txUnrestricted);

// Mode tokens of the dialect for the transceiver's mode codes "M1".."M4"
// (USB, LSB, AM for AME, CW); empty for anything else, and the reverse,
// which takes any case and the data modes PKTUSB/PKTLSB as USB/LSB.
std::string rigModeName(const std::string& modeCode);
std::string rigModeCode(const std::string& modeName);
bool isRigDataMode(const std::string& modeName);
// "PKTUSB"/"PKTLSB" for "M1"/"M2", empty for the others.
std::string rigDataModeName(const std::string& modeCode);
// The text of the panel's mode lists for a mode code ("AME" for "M3").
std::string panelModeText(const std::string& modeCode);
// The passband reported for a mode: the panel has no filter setting, so the
// transceiver's nominal bandwidth.
long rigPassband(const std::string& modeName);
// The mode code for the text of the panel's mode lists ("USB", "LSB", "AME",
// "CW"); empty for anything else.
std::string rigModeCodeOfText(const std::string& text);
// "AM CW USB LSB ": the answer to "M ?".
std::string rigModeList();

// Seven frequency digits (10 Hz units) for a frequency in Hz, rounded to the
// nearest 10 Hz; empty outside the panel's range 1.6 to 29.99999 MHz.
std::string panelDigitsForHz(double hz);
// Hz for seven frequency digits; -1 unless the text is seven digits.
long long hzForPanelDigits(const std::string& digits);

}  // namespace zr
