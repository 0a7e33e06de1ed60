#include "panel/ReceiverToggles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/CommandComposer.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDisplay.h"

namespace zr {

namespace {

// `value` with at least `digits` digits, the sign in front ("-050", "1000").
std::string padded(long value, std::size_t digits) {
  std::string text = std::to_string(std::labs(value));
  if (text.size() < digits) text.insert(0, digits - text.size(), '0');
  return value < 0 ? "-" + text : text;
}

// The BFO bar's middle: no offset.
constexpr int kBfoCentre = 100;

}  // namespace

ReceiverToggles::ReceiverToggles(Panel& panel) : p_(panel) {
  Engine& e = p_.engine;
  const std::string& w = p_.frm.name();
  const auto raise = [&](const char* control, bool& flag) {
    e.on(w, control, EventKind::Click, [&flag](const InputEvent&) { flag = true; });
  };
  raise("cmdBFO", bfoPending);
  raise("cmdMute", mutePending);
  raise("cmdClipping", clipPending);
  raise("cmdSideTone", sideTonePending);
  raise("cmdVOX", voxPending);
  raise("cmdPTTEn", pttEnPending);
  raise("cmdGetStatus", refreshPending);
  raise("cmdViewInData", viewDataPending);
  e.on(w, "cmdTest", EventKind::Click, [this](const InputEvent&) { cmdTest_Click(); });
  e.on(w, "vscBFO", EventKind::Change, [this](const InputEvent&) { vscBFO_Change(); });
  e.on(w, "vscRFG", EventKind::Change, [this](const InputEvent&) { vscRFG_Change(); });
}

// Workers clear their flag first: a worker that fails is not retried on
// every pass of the loop.

void ReceiverToggles::bfoCmd() {
  bfoPending = false;
  MainWindowModel& frm = p_.frm;
  FormVars& form = p_.form;
  if (!form.bfoOn) {
    form.bfoOn = true;
    frm.cmdBFO.caption = "OFF";
    frm.lblBFOOn.caption = "BFO";
    frm.lblPorM.caption.clear();
    vscBFO_Change();  // the offset on the bar goes out with the next pass
    frm.vscBFO.enabled = true;
  } else {
    form.bfoOn = false;
    frm.cmdBFO.caption = "ON";
    // The bar stays where it is, so switching on again restores the offset.
    form.gBfoOffset = "100";
    p_.link().writeDirect("B" + form.gBfoOffset + "\n");
    frm.vscBFO.enabled = false;
    frm.lblBFOOn.caption.clear();
    frm.lblPorM.caption.clear();
  }
}

void ReceiverToggles::vscBFO_Change() {
  p_.frm.txtBFO.text = padded(p_.frm.vscBFO.value * 10L - 1000, 3);
  bfoOffsetPending = true;
}

void ReceiverToggles::bfoOffsetCmd() {
  bfoOffsetPending = false;
  MainWindowModel& frm = p_.frm;
  const int v = frm.vscBFO.value;
  frm.lblPorM.caption = v < kBfoCentre ? "-" : v > kBfoCentre ? "+" : "";
  p_.form.gBfoOffset = padded(v, 3);
  // The button offers "OFF" while the BFO is on.
  if (frm.cmdBFO.caption == "OFF") p_.link().writeDirect("B" + p_.form.gBfoOffset + "\n");
}

void ReceiverToggles::vscRFG_Change() {
  const Control& bar = p_.frm.vscRFG;
  const double percent = double(bar.max - bar.value) / double(bar.max - bar.min) * 100.0;
  p_.frm.txtRFG.text = padded(std::lround(percent), 3);
  rfGainPending = true;
}

void ReceiverToggles::rfGainCmd() {
  rfGainPending = false;
  const Control& bar = p_.frm.vscRFG;
  // Full gain at the top of the bar is G00.
  const int gain = std::clamp(bar.min - bar.value, 0, 99);
  p_.link().gSendCommand("G" + padded(gain, 2), true, 0.1);
}

void ReceiverToggles::muteCmd() {
  mutePending = false;
  // Before the first report the speaker state is unknown: nothing to flip.
  const std::string& shown = p_.frm.lblMute.caption;
  if (shown == "ON") p_.link().gSendCommand("(0", true, 0.2);
  if (shown == "OFF") p_.link().gSendCommand("(1", true, 0.2);
}

void ReceiverToggles::clipCmd() {
  clipPending = false;
  p_.link().gSendCommand("I", true, 0.2);
  p_.link().gReadResponse();
}

void ReceiverToggles::sideToneCmd() {
  sideTonePending = false;
  p_.link().gSendCommand("S", true, 0.2);
  p_.link().gReadResponse();
  if (p_.st.gSideToneChanged) {
    p_.display().gShowSideTone();
    p_.st.gSideToneChanged = false;
  }
}

void ReceiverToggles::voxCmd() {
  voxPending = false;
  p_.link().gSendCommand("V", true, 0.2);
  p_.link().gReadResponse();
}

void ReceiverToggles::pttEnCmd() {
  pttEnPending = false;
  p_.cmds().gTogglePttEnable();
}

void ReceiverToggles::refreshCmd() {
  refreshPending = false;
  // The loop's next sync exchange reads the report.
  p_.link().gSendCommand("?", true, 0.6);
}

void ReceiverToggles::viewDataCmd() {
  viewDataPending = false;
  Control& box = p_.frm.txtInData;
  if (!box.visible) {
    box.visible = true;
    box.text.clear();
    p_.frm.cmdViewInData.caption = "Hide Data";
  } else {
    box.visible = false;
    p_.frm.cmdViewInData.caption = "Show Data";
  }
}

void ReceiverToggles::cmdTest_Click() { p_.link().writeDirect("Z\n"); }

}  // namespace zr
