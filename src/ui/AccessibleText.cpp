#include "ui/AccessibleText.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace zr::accessible {

namespace {

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

bool isLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// The letter after a single "&", 0 when there is none.
char markedKey(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return isLetter(caption[i + 1]) ? upper(caption[i + 1]) : 0;
  }
  return 0;
}

bool takesCaptionName(ControlKind k) {
  return k == ControlKind::Button || k == ControlKind::OptionButton || k == ControlKind::CheckBox ||
         k == ControlKind::MenuEntry || k == ControlKind::Frame || k == ControlKind::Label;
}

bool takesLabelName(ControlKind k) {
  return k == ControlKind::ComboBox || k == ControlKind::ListBox || k == ControlKind::TextBox ||
         k == ControlKind::ScrollBar || k == ControlKind::ProgressBar;
}

}  // namespace

std::string plainCaption(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      // "&&" is a literal "&"; a single one only marks the next letter.
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i] == '\r' || caption[i] == '\n' ? ' ' : caption[i];
  }
  return trimmed(out);
}

std::string nameOf(const WindowModel& window, const Control& control) {
  if (std::string named = givenName(window.name(), control); !named.empty()) return named;
  if (takesCaptionName(control.kind)) {
    if (std::string caption = plainCaption(control.caption); !caption.empty()) return caption;
  }
  // Neighbours in design order within the same frame.
  const Control* before = nullptr;
  const Control* after = nullptr;
  bool found = false;
  window.forEachControl([&](const Control& c) {
    if (after || c.parent != control.parent || c.kind == ControlKind::MenuEntry) return;
    if (&c == &control || (c.name == control.name && c.index == control.index)) {
      found = true;
      return;
    }
    if (found) after = &c;
    else before = &c;
  });
  if (control.kind == ControlKind::OptionButton || control.kind == ControlKind::CheckBox) {
    if (after && after->kind == ControlKind::Label && after->index == control.index)
      if (std::string caption = plainCaption(after->caption); !caption.empty()) return caption;
  }
  if (takesLabelName(control.kind) && before && before->kind == ControlKind::Label)
    if (std::string caption = plainCaption(before->caption); !caption.empty()) return caption;
  if (std::string tip = trimmed(control.toolTip); !tip.empty()) return tip;
  if (!control.parent.empty())
    if (const Control* frame = window.find(control.parent))
      if (std::string caption = plainCaption(frame->caption); !caption.empty()) return caption;
  return control.index < 0 ? control.name : control.name + " " + std::to_string(control.index + 1);
}

std::string frequencyReading(const std::string& digits) {
  if (digits.size() != 7 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return "no frequency";
  // Units of 10 Hz: the last two digits are the kHz decimals.
  const long value = std::strtol(digits.c_str(), nullptr, 10);
  const long kHz = value / 100;
  std::string whole = std::to_string(kHz);
  if (kHz >= 1000) whole.insert(whole.size() - 3, " ");
  const std::string hundredths = digits.substr(5, 2);
  return whole + "." + hundredths + " kHz";
}

std::string meterReading(const std::string& scale, int value, int max) {
  struct Mark {
    std::string text;
    double centre;
  };
  std::vector<Mark> marks;
  for (std::size_t i = 0; i < scale.size();) {
    if (scale[i] == ' ') {
      ++i;
      continue;
    }
    const std::size_t end = std::min(scale.find(' ', i), scale.size());
    marks.push_back({scale.substr(i, end - i), (i + end) / 2.0});
    i = end;
  }
  if (marks.empty() || max <= 0) return std::to_string(value);
  const double at = std::clamp(value, 0, max) * static_cast<double>(scale.size()) / max;
  if (at < marks.front().centre - 1.5 && value <= 0) return "below " + marks.front().text;
  const auto nearest = std::min_element(marks.begin(), marks.end(), [at](const Mark& a, const Mark& b) {
    return std::abs(a.centre - at) < std::abs(b.centre - at);
  });
  return nearest->text;
}

std::map<std::string, char> assignAccessKeys(const std::vector<KeyCandidate>& candidates, std::set<char> taken) {
  std::map<std::string, char> keys;
  for (const auto& c : candidates)
    if (char k = markedKey(c.caption)) taken.insert(k);
  // Word starts first for every candidate, then any letter, so an early
  // caption does not take a later one's only initial.
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& c : candidates) {
      if (keys.count(c.id) || markedKey(c.caption) || c.caption.find('&') != std::string::npos) continue;
      const std::string text = plainCaption(c.caption);
      for (std::size_t i = 0; i < text.size(); ++i) {
        const bool wordStart = i == 0 || !isLetter(text[i - 1]);
        if (!isLetter(text[i]) || (pass == 0 && !wordStart) || taken.count(upper(text[i]))) continue;
        keys[c.id] = upper(text[i]);
        taken.insert(upper(text[i]));
        break;
      }
    }
  }
  return keys;
}

std::string withAccessKey(const std::string& caption, char key) {
  if (caption.find('&') != std::string::npos) return caption;
  // Prefer the letter where it starts a word, as the key was chosen.
  std::size_t at = std::string::npos;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (upper(caption[i]) != upper(key)) continue;
    if (i == 0 || !isLetter(caption[i - 1])) {
      at = i;
      break;
    }
    if (at == std::string::npos) at = i;
  }
  if (at == std::string::npos) return caption;
  return caption.substr(0, at) + "&" + caption.substr(at);
}

}  // namespace zr::accessible
