#include "panel/Tuning.h"

#include <array>

#include "core/BusyFlag.h"
#include "core/Convert.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"

namespace zr {

namespace {

constexpr std::array<long, 7> kSteps = {1000000, 100000, 10000, 1000, 100, 10, 1};
// The transceiver takes a frequency about every 0.4 s plus its reply.
constexpr double kFreqDelay = 0.4;
constexpr double kChannelDelay = 0.1;

template <std::size_t N>
std::string joined(const std::array<Control, N>& digits) {
  std::string text;
  for (const Control& d : digits) text += d.caption;
  return text;
}

template <std::size_t N>
void show(std::array<Control, N>& digits, const std::string& text) {
  for (std::size_t i = 0; i < N && i < text.size(); ++i) digits[i].caption = std::string(1, text[i]);
}

// The value of seven digit captions; anything else counts as out of range.
long freqValue(const std::string& text) { return allDigits(text, 7) ? std::stol(text) : -1; }

bool inRange(long value) { return value >= Tuning::kMinFreq && value <= Tuning::kMaxFreq; }

}  // namespace

Tuning::Tuning(Panel& panel) : p_(panel) {
  Engine& e = p_.engine;
  const std::string& w = p_.frm.name();
  e.on(w, "cmdF", EventKind::MouseDown, [this](const InputEvent& ev) { cmdF_MouseDown(ev.index, ev.button); });
  e.on(w, "cmdF", EventKind::MouseUp, [this](const InputEvent&) { cmdF_MouseUp(); });
  e.on(w, "", EventKind::KeyDown, [this](const InputEvent& ev) { Form_KeyDown(ev.keyCode); });
  e.on(w, "cmdVFOB", EventKind::MouseDown, [this](const InputEvent& ev) { cmdVFOB_MouseDown(ev.index, ev.button); });
  e.on(w, "cmdVFOB", EventKind::MouseUp, [this](const InputEvent&) { cmdVFOB_MouseUp(); });
  // Typing on a display reaches its first digit as a change with the text.
  e.on(w, "cmdF", EventKind::Change, [this](const InputEvent& ev) { cmdF_Typed(ev.text.value_or("")); });
  e.on(w, "cmdVFOB", EventKind::Change, [this](const InputEvent& ev) { cmdVFOB_Typed(ev.text.value_or("")); });
  e.on(w, "cmdM", EventKind::MouseDown, [this](const InputEvent& ev) { cmdM_MouseDown(ev.index, ev.button); });
  e.on(w, "cmdM", EventKind::MouseUp, [this](const InputEvent&) { cmdM_MouseUp(); });
}

long Tuning::stepOf(int position) {
  return position >= 0 && position < 7 ? kSteps[static_cast<std::size_t>(position)] : 0;
}

int Tuning::stepCode(const std::string& text) {
  if (text == "10Hz") return 6;
  if (text == "100Hz") return 5;
  if (text == "1KHz") return 4;
  if (text == "10KHz") return 3;
  return 0;
}

std::string Tuning::freqText(long value) {
  std::string text = std::to_string(value);
  if (text.size() < 7) text.insert(0, 7 - text.size(), '0');
  return text;
}

std::string Tuning::typedFreq(const std::string& text) {
  long kHz = 0;
  int decimals = -1;  // digits after the point; -1 = no point yet
  int digits = 0;
  long hundredths = 0;
  for (char c : text) {
    if (c == ' ' || c == ',') {
      if (decimals >= 0) return {};
      continue;
    }
    if (c == '.') {
      if (decimals >= 0) return {};
      decimals = 0;
      continue;
    }
    if (c < '0' || c > '9') return {};
    if (decimals < 0) {
      if (++digits > 5) return {};
      kHz = kHz * 10 + (c - '0');
    } else {
      if (++decimals > 2) return {};
      hundredths += (c - '0') * (decimals == 1 ? 10 : 1);
    }
  }
  if (digits == 0) return {};
  const long value = kHz * 100 + hundredths;
  return inRange(value) ? freqText(value) : std::string();
}

void Tuning::cmdF_Typed(const std::string& text) {
  if (vfoABusy_ || p_.form.txActive) return;
  const std::string digits = typedFreq(text);
  if (digits.empty()) {
    p_.engine.beep();
    return;
  }
  BusyFlag busy(vfoABusy_);
  p_.frm.lblInfo.caption.clear();
  show(p_.frm.cmdF, digits);
  sendFreq(digits);
  p_.display().gUpdateDisplay();
}

void Tuning::cmdVFOB_Typed(const std::string& text) {
  if (vfoBBusy_) return;
  const std::string digits = typedFreq(text);
  if (digits.empty()) {
    p_.engine.beep();
    return;
  }
  show(p_.frm.cmdVFOB, digits);
}

bool Tuning::holdGoesOn(const Control& digit, double start) const {
  const Control& w = p_.frm.window;
  // The engine drops input for a disabled or hidden control: no release
  // would ever end the loop.
  if (!digit.enabled || !digit.visible || !w.enabled || !w.visible) return false;
  return secondsSince(start, p_.clock.now()) < kMaxHoldSeconds;
}

void Tuning::sendFreq(const std::string& digits) {
  p_.link().gSendCommand("F" + digits, true, kFreqDelay);
  p_.link().gReadResponse();
}

void Tuning::cmdF_MouseDown(int index, int button) {
  if (vfoABusy_ || p_.form.txActive) return;
  const bool fromKey = index > 6;
  const int pos = fromKey ? index - 6 : index;
  if (pos < 0 || pos > 6 || (button != 1 && button != 2)) return;
  MainWindowModel& frm = p_.frm;
  Engine& engine = p_.engine;
  std::string work;
  {
    BusyFlag busy(vfoABusy_);
    if (!fromKey) digitHeld = true;
    digitPos = pos;
    const long step = stepOf(pos);
    stepDir = button;
    frm.lblInfo.caption.clear();
    engine.pump();
    int repeat = 0;
    work = joined(frm.cmdF);
    engine.pump();
    const double start = p_.clock.now();
    // The first pass always runs: a release pumped in above still gets its step.
    for (bool first = true; first || ((digitHeld || keyStepPending) && holdGoesOn(frm.cmdF[pos], start));
         first = false) {
      keyStepPending = false;
      long value = freqValue(work);
      if (stepDir == 1) {
        if (value + step > kMaxFreq)
          engine.beep();
        else
          value += step;
      } else {
        if (value - step < kMinFreq)
          engine.beep();
        else
          value -= step;
      }
      if (!inRange(value)) {
        // Digits that were never a frequency: wait for the release instead of spinning.
        engine.pump(kRepeatWait);
        continue;
      }
      work = freqText(value);
      show(frm.cmdF, work);
      if (repeat % 2 == 0 || repeat < 5) sendFreq(work);
      ++repeat;
      engine.pump();
    }
  }
  // Digits that were never a frequency are not sent at all.
  if (inRange(freqValue(work))) sendFreq(work);
  p_.display().gUpdateDisplay();
}

void Tuning::Form_KeyDown(int keyCode) {
  if (keyCode != kKeyUp && keyCode != kKeyDown) return;
  const int direction = keyCode == kKeyUp ? 1 : 2;
  const int code = stepCode(p_.frm.cmbStepSize.text);
  if (code == 0) return;
  if (keyBusy_) {
    // A knob turned on while its last step is still going out: one more
    // pass the same way rather than a lost step.
    if (direction == stepDir) keyStepPending = true;
    return;
  }
  BusyFlag busy(keyBusy_);
  const bool loopRunning = vfoABusy_;
  keyStepPending = true;
  cmdF_MouseDown(code + 6, direction);
  // Folded into a held digit's loop, the flag is that loop's to consume;
  // otherwise the step is done or was refused.
  if (!loopRunning) keyStepPending = false;
}

void Tuning::cmdVFOB_MouseDown(int index, int button) {
  if (vfoBBusy_ || index < 0 || index > 6 || (button != 1 && button != 2)) return;
  BusyFlag busy(vfoBBusy_);
  vfoBDigitHeld = true;
  MainWindowModel& frm = p_.frm;
  const long step = stepOf(index);
  const double start = p_.clock.now();
  while (vfoBDigitHeld && holdGoesOn(frm.cmdVFOB[static_cast<std::size_t>(index)], start)) {
    std::string work = joined(frm.cmdVFOB);
    long value = freqValue(work);
    if (value < kMinFreq || value > kMaxFreq) {
      value = value < kMinFreq ? kMinFreq : kMaxFreq;
      // The row stops at the limit: a step past it keeps the clamped digits.
      work = freqText(value);
      show(frm.cmdVFOB, work);
    }
    value += button == 1 ? step : -step;
    if (inRange(value)) work = freqText(value);
    show(frm.cmdVFOB, work);
    p_.link().gDelay(kRepeatWait);
    p_.engine.pump();
  }
}

void Tuning::cmdM_MouseDown(int index, int button) {
  if (chanBusy_ || index < 0 || index > 1 || (button != 1 && button != 2)) return;
  BusyFlag busy(chanBusy_);
  chanDigitHeld = true;
  MainWindowModel& frm = p_.frm;
  const int step = index == 0 ? 10 : 1;
  const double start = p_.clock.now();
  std::string digits = joined(frm.cmdM);
  while (chanDigitHeld && holdGoesOn(frm.cmdM[static_cast<std::size_t>(index)], start)) {
    digits = joined(frm.cmdM);
    // A row that does not read as a channel starts from 00.
    int value = allDigits(digits, 2) ? std::stoi(digits) : 0;
    if (button == 1) {
      if (value > 99 - step)
        p_.engine.beep();
      else
        value += step;
    } else {
      if (value < step)
        p_.engine.beep();
      else
        value -= step;
    }
    digits = (value < 10 ? "0" : "") + std::to_string(value);
    show(frm.cmdM, digits);
    p_.link().gDelay(kRepeatWait);
    p_.engine.pump();
  }
  if (frm.optChan[0].selected()) p_.link().gSendCommand("C" + digits, true, kChannelDelay);
}

}  // namespace zr
