#include "panel/VfoSplit.h"

#include "core/CommandComposer.h"
#include "core/Convert.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "panel/ModeControls.h"

namespace zr {

VfoSplit::VfoSplit(Panel& panel) : p_(panel) {
  Engine& e = p_.engine;
  const std::string& w = p_.frm.name();
  e.on(w, "optTXVFO", EventKind::Click, [this](const InputEvent& ev) { optTXVFO_Click(ev.index); });
  e.on(w, "cmdA2B", EventKind::Click, [this](const InputEvent&) { a2bPending = true; });
  e.on(w, "cmdSwap", EventKind::Click, [this](const InputEvent&) { swapPending = true; });
}

void VfoSplit::optTXVFO_Click(int index) {
  MainWindowModel& frm = p_.frm;
  ++splitClicks;
  if (index == 0) {
    frm.lblSplit.caption = kSplitOff;
    return;
  }
  if (index != 1) return;
  if (frm.cmbMode.text != frm.cmbVFOBMode.text) {
    p_.engine.messageBox(kModesDiffer);
    frm.lblSplit.caption = kSplitOff;
    frm.optTXVFO[0].value = 1;
    frm.optTXVFO[1].value = 0;
    return;
  }
  frm.lblSplit.caption = kSplitOn;
}

void VfoSplit::a2bCmd() {
  a2bPending = false;
  MainWindowModel& frm = p_.frm;
  for (std::size_t i = 0; i < frm.cmdF.size(); ++i) frm.cmdVFOB[i].caption = frm.cmdF[i].caption;
}

void VfoSplit::swapCmd() {
  swapPending = false;
  MainWindowModel& frm = p_.frm;
  std::string vfoB;
  for (const auto& d : frm.cmdVFOB) vfoB += d.caption;
  // A VFO B that was never set (all zeros) or holds no frequency would tune
  // the transceiver out of its range: refuse with a beep, rows unchanged.
  if (!allDigits(vfoB, 7) || vfoB < "0160000" || vfoB > "2999999") {
    p_.engine.beep();
    return;
  }
  std::string work = "F";
  for (std::size_t i = 0; i < frm.cmdF.size(); ++i) {
    const std::string t = frm.cmdVFOB[i].caption.substr(0, 1);
    frm.cmdVFOB[i].caption = frm.cmdF[i].caption;
    frm.cmdF[i].caption = t;
    work += t;
  }
  // The rows stay exchanged, but a row that is not a frequency is not sent.
  if (!allDigits(work.substr(1), 7)) return;
  std::string modeText;
  if (frm.cmbMode.text != frm.cmbVFOBMode.text) {
    const std::string old = frm.cmbVFOBMode.text;
    frm.cmbVFOBMode.text = frm.cmbMode.text;
    // A VFO B mode that names no mode would be stepped to USB.
    const std::string code = ModeControls::ModeCmdString(old);
    if (!code.empty()) modeText = p_.cmds().gModeStepCmd(code);
  }
  // Mode and frequency go out in one write, the mode first.
  p_.link().writeDirect(modeText.empty() ? work + "\n" : modeText + "\n" + work + "\n");
  p_.link().gDelay(kSwapDelay);
}

}  // namespace zr
