#pragma once
// What a screen reader is told about a control: its name, derived from the
// model where the model does not name it itself, and readings of the
// displays that are not plain text (frequency digits, the meter bar).
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ui/WindowModel.h"

namespace zr::accessible {

// A caption without its access-key marks ("&" before a letter, "&&" for "&").
std::string plainCaption(const std::string& caption);

// The name given to a control whose caption, label or tooltip does not say
// what it is ("cmdA2B" -> "Copy VFO A to VFO B"); empty for the others.
std::string givenName(const std::string& window, const Control& control);

// The name of `control` in `window`: its given name; else for
// buttons, options and check boxes their caption (an option without one is
// named by the label after it); for lists, text boxes, scroll and progress
// bars the label just before them in the same frame; else its tooltip; else
// its frame's caption; else its control name.
std::string nameOf(const WindowModel& window, const Control& control);

// Seven frequency digits (units of 10 Hz) read as one number:
// "1425000" -> "14 250.00 kHz". Digits that are no frequency: "no frequency".
std::string frequencyReading(const std::string& digits);

// The meter bar's `value` of 0..`max` read off its `scale` caption: the mark
// nearest to where the bar ends ("S9"), "below <first mark>" before the first.
std::string meterReading(const std::string& scale, int value, int max);

// One control that can take an access key, and the letters it may take
// (its caption as shown).
struct KeyCandidate {
  std::string id;
  std::string caption;
};
// One letter per candidate, unique among them and not in `taken`: the first
// letter of a word where it can, else any letter of the caption. Captions
// that already carry a "&" keep theirs (and reserve it). A candidate left
// without a letter is absent from the result.
std::map<std::string, char> assignAccessKeys(const std::vector<KeyCandidate>& candidates, std::set<char> taken);

// `caption` with "&" before its first `key` letter (either case); unchanged
// when it has a "&" already or lacks the letter.
std::string withAccessKey(const std::string& caption, char key);

}  // namespace zr::accessible
