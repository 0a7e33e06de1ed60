#pragma once
// The scanners' conversions from what the operator typed: frequency texts in
// MHz to the transceiver's frequency command, mode names to mode codes, and
// the dwell text to whole seconds.
#include <optional>
#include <string>
#include <string_view>

namespace zr {

// The frequencies the panel offers, in 10 Hz units.
inline constexpr long kScanLowest = 160000;
inline constexpr long kScanHighest = 2999999;

// The seven characters of a frequency text in MHz: a one-digit MHz text
// ("7.1") starts one place in, then every character but "." is copied in
// turn, the rest stays "0". Nothing when the text has more than seven such
// characters (there is no place for them).
std::optional<std::string> sevenCharacters(std::string_view mhz);

// A band scanner limit in 10 Hz units: the leading number of the seven
// characters ("14.00" -> 1400000); 0 when it has no place in seven.
long mhzToDigits(std::string_view mhz);

// A scan list row's frequency command "F" + seven digits, or nothing when
// the seven characters are not all digits or lie outside the panel's range.
std::optional<std::string> rowFrequencyCommand(std::string_view mhz);

// "F" + the frequency in 10 Hz units as seven digits.
std::string frequencyCommand(long tenHz);

// "M1".."M4" for USB, LSB, AME (or AM), CW in any letter case; empty otherwise.
std::string modeCodeFor(std::string_view modeName);

// The dwell of a scan list in whole seconds: the leading number of the text,
// rounded, never below 1 nor above 32767.
int dwellSeconds(std::string_view text);

}  // namespace zr
