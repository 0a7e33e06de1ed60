#pragma once
// The band lists without their window: which file holds a band's list, how
// its 14 rows are read from and written to that file, how a row's frequency
// and mode become the transceiver's codes, and the sort by frequency.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "lists/ListLine.h"

namespace zr {

inline constexpr std::size_t kBandListRows = 14;
using BandRows = std::array<ListRow, kBandListRows>;

// "M40List.txt" for the band key "40"; empty for a key that names no band.
std::string bandListFile(const std::string& bandKey);
// "40 Meters", but "WWV" and "MARS" alone.
std::string bandCaption(const std::string& bandKey);

// Line k fills row k, whatever ends the lines; lines after the 14th are
// ignored. Throws RuntimeError 75 for bytes that are not text (control
// characters other than tab and line ends), which would only make rows of junk.
BandRows parseBandList(std::string_view fileText);
// The mode written for a row that has a note but no mode, so the note's
// first word does not read back as the mode. Like any unknown name, it keeps
// the transceiver's mode.
inline constexpr const char* kNoModeName = "-";
// Exactly 14 lines, each ended by CR LF. A line break typed into a row would
// shift every later row: it is written as a blank.
std::string formatBandList(const BandRows& rows);

// The seven frequency digits (10 Hz units) a row's frequency text stands
// for: its digits in order, after a one-digit MHz shift for texts such as
// "7.074"; everything else is skipped, and digits beyond the last place are
// ignored.
std::string bandFrequencyDigits(std::string_view text);
// 1 600.00 kHz to 29 999.99 kHz.
bool bandFrequencyInRange(const std::string& digits);
// "USB" (any case) -> "M1" ... "CW" -> "M4"; empty for any other name.
std::string bandModeCode(const std::string& modeName);
// "M1" -> "USB" ... "M4" -> "CW"; empty for any other code.
std::string bandModeName(const std::string& modeCode);
// "F1407400" -> "14.07400", "F0707400" -> "7.07400"; empty unless "F" + 7 digits.
std::string bandFrequencyText(const std::string& freqCmd);

// Rows with a non-zero frequency value first, lowest first (single
// precision, equal values in reverse order), then the other rows that hold
// anything, in their order; empty rows last.
BandRows sortBandRows(const BandRows& rows);

}  // namespace zr
