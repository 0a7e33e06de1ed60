#include "core/RadioLink.h"

#include "core/Convert.h"
#include "core/Errors.h"
#include "core/Panel.h"
#include "core/PortRecovery.h"
#include "core/StatusDecoder.h"

namespace zr {

namespace {
constexpr double kQuietGap = 0.06;
constexpr int kSendBufferWaits = 10;
}  // namespace

bool RadioLink::SetUpRadioPort(Device device) {
  SerialPort& port = p_.MSComm1;
  const std::string& hs = p_.settings.gRadioHandshake;
  // Software flow control is never used on the radio port: the reply text
  // could contain the control characters.
  const Handshaking handshaking =
      (hs == "comRTS" || hs == "comRTSXonXoff") ? Handshaking::RtsCts : Handshaking::None;
  if (port.isOpen()) {
    try {
      if (port.inBufferCount() > 0) port.input();
    } catch (const RuntimeError&) {
      // A port that failed must still be closed and opened again.
    }
    closePort();
    gDelay(0.5);
  }
  port.setCommPort(vbCInt(p_.settings.gRadioPort));
  port.setHandshaking(handshaking);
  port.setSettings(p_.settings.gRadioSettings);
  port.setInBufferSize(4096);
  port.setOutBufferSize(256);
  port.setRThreshold(0);
  port.setNullDiscard(true);
  port.setParityReplace(":");
  port.setRTSEnable(true);
  if (device == Device::Same)
    port.reopen();
  else
    port.open();
  if (port.isOpen()) {
    latch_.portOpened(port.descriptor());
    write("U");
    return true;
  }
  p_.frm.txtInfo.text = "Selected port did not open...";
  return false;
}

bool RadioLink::gGetCommPorts(int portNumber) { return p_.probe.exists(portNumber); }

void RadioLink::gDelay(double seconds) { p_.engine.wait(seconds); }

void RadioLink::gSendCommand(const std::string& text, bool lineFeed, double delay,
                             const std::function<void()>& sent) {
  SerialPort& port = p_.MSComm1;
  p_.frm.shaTrace.fillColor = colours::Red;
  int waits = 0;
  try {
    while (port.outBufferCount() != 0 && waits < kSendBufferWaits) {
      gDelay(0.01);
      ++waits;
    }
  } catch (const RuntimeError&) {
  }
  // A send buffer that will not drain: the command is dropped and the
  // indicator stays red so the operator sees the link is stuck.
  if (waits >= kSendBufferWaits) {
    if (sent) sent();
    return;
  }
  try {
    write(lineFeed ? text + "\n" : text);
  } catch (const RuntimeError&) {
  }
  if (sent) sent();
  if (delay != 0) gDelay(delay);
  p_.frm.shaTrace.fillColor = colours::GrayText;
}

void RadioLink::gReadResponse() {
  SerialPort& port = p_.MSComm1;
  TransceiverState& st = p_.st;
  p_.frm.shaTrace.fillColor = colours::Green;
  st.gResponse.clear();
  st.gResponseReceived = false;

  // The engine's waits wake at the first byte, and serve the CAT port meanwhile.
  p_.engine.wait(kReplyTimeout, [&] { return port.inBufferCount() > 0; });
  if (port.inBufferCount() < 1) {
    st.gResponseReceived = false;
    p_.frm.lblComStat.caption = "No Com";
  } else {
    // The reply is complete once the line has been quiet for the gap.
    double quietSince = p_.clock.now();
    for (;;) {
      const double left = kQuietGap - secondsSince(quietSince, p_.clock.now());
      if (left <= 0) break;
      const int count = port.inBufferCount();
      if (p_.engine.wait(left, [&] { return port.inBufferCount() > count; })) quietSince = p_.clock.now();
    }
    // Everything waiting is taken; bytes arriving after this stay for the
    // next read rather than being discarded.
    st.gResponse = port.input();
    st.gResponseReceived = true;
    if (!st.gResponse.empty()) {
      p_.frm.lblComStat.caption = "Com OK";
      st.gHashSeen = false;
      st.gDotSeen = false;
      p_.decoder().gParseResponse(st.gResponse);
      st.gResponseComplete = st.gHashSeen && st.gDotSeen;
    }
  }
  p_.frm.shaTrace.fillColor = colours::GrayText;
}

void RadioLink::gDrainInput() {
  std::string text = p_.MSComm1.input();
  if (!text.empty()) p_.decoder().gParseResponse(text);
}

void RadioLink::MSComm1_OnComm(int code) {
  switch (code) {
    case comm::Break:
      p_.st.gRadioBreak = true;
      break;
    case comm::PortLost:
      p_.recovery().portLost(p_.MSComm1.failure());
      break;
    case comm::EvDSR: {
      const bool dsr = p_.MSComm1.dsrHolding();
      p_.form.gComm1EvDSR = dsr;
      p_.form.extPttIdle = p_.settings.gExtPttEnabled ? dsr : true;
      break;
    }
    default:
      if (comm::isLineError(code)) p_.frm.lblComStat.caption = "Com Error";
      break;
  }
}

void RadioLink::writeDirect(const std::string& text) { write(text); }

void RadioLink::write(std::string_view text) {
  const bool wasKeyed = latch_.keyed();
  latch_.beforeWrite(text);
  if (!wasKeyed && latch_.keyed()) keyedSince_ = p_.clock.now();
  p_.MSComm1.output(text);
  latch_.afterWrite(text);
}

RadioLink::~RadioLink() { closePort(); }

void RadioLink::closePort() {
  SerialPort& port = p_.MSComm1;
  if (!port.isOpen()) return;
  try {
    if (keyed()) write("U");
  } catch (const RuntimeError&) {
    // The port is gone; the unkey stays owed to the next open.
  }
  latch_.portClosing();
  port.close();
}

void RadioLink::shutdownPort() {
  SerialPort& port = p_.MSComm1;
  if (!port.isOpen()) return;
  try {
    if (keyed()) write("U");
    write("G00\n");
    gDelay(0.3);
    port.discardInput();
  } catch (const RuntimeError&) {
  }
  closePort();
}

}  // namespace zr
