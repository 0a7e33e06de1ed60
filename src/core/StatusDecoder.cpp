#include "core/StatusDecoder.h"

#include "core/Convert.h"
#include "core/MeterDisplay.h"
#include "core/Panel.h"

namespace zr {

void StatusDecoder::gParseResponse(std::string& text) {
  std::size_t pos = 0;
  while (pos + 1 < text.size()) {
    const std::size_t lf = text.find('\n', pos);
    if (lf == std::string::npos) break;
    if (lf != pos) {
      text[lf] = '<';
      ++lines_;
      dispatch(text.substr(pos, lf - pos));
    }
    pos = lf + 1;
  }
  if (p_.frm.cmdViewInData.caption == "Hide Data") p_.frm.txtInData.text = text;
}

void StatusDecoder::dispatch(const std::string& line) {
  TransceiverState& st = p_.st;
  auto store = [&](FixedText& item, bool& changed) {
    item = line;
    changed = true;
  };
  switch (line[0]) {
    case 'F':
      store(st.gFreqCmd, st.gFreqChanged);
      st.gFreqValid = line.size() == 8 && allDigits(line.substr(1), 7);
      break;
    case 'A': store(st.gAgc, st.gAgcChanged); break;
    case 'M': store(st.gMode, st.gModeChanged); break;
    case 'D': store(st.gMeterSource, st.gMeterSourceChanged); break;
    case 'H': store(st.gSource, st.gSourceChanged); break;
    case '"': store(st.gLocalRemote, st.gLocalRemoteChanged); break;
    case '\'': store(st.gPttEnable, st.gPttEnableChanged); break;
    case '(': store(st.gSpeaker, st.gSpeakerChanged); break;
    case 'I': store(st.gClip, st.gClipChanged); break;
    case 'S': store(st.gSideTone, st.gSideToneChanged); break;
    case 'V': store(st.gVox, st.gVoxChanged); break;
    case 'R': store(st.gRemote, st.gRemoteChanged); break;
    case 'O': store(st.gAmpState, st.gAmpStateChanged); break;
    case 'T': store(st.gAmpTune, st.gAmpTuneChanged); break;
    case 'Z': store(st.gFault, st.gFaultChanged); break;
    case 'C': store(st.gChannel, st.gChannelChanged); break;
    case 'P':
      if (channelSink_) channelSink_(line);
      else store(st.gChannelData, st.gChannelDataChanged);
      break;
    case 'G': store(st.gRfGain, st.gRfGainChanged); break;
    case 'B': store(st.gBfoReply, st.gBfoReplyChanged); break;
    case 'X': store(st.gXReply, st.gXReplyChanged); break;
    case ',': store(st.gCommaReply, st.gCommaReplyChanged); break;
    case '*': store(st.gStarReply, st.gStarReplyChanged); break;
    case 'Q':
      if (line.size() > 1 && line[1] == 'T') st.gQTReply = line;
      if (line.size() > 1 && line[1] == 'C') st.gQCReply = line;
      st.gQSeen = true;
      break;
    case 'J':
      p_.meter().gDisplayMeterData(line);
      st.gMeterDataSeen = true;
      break;
    case 'U':
      st.gSyncSeen = true;
      st.gTransmitting = false;
      break;
    case 'K':
      st.gSyncSeen = true;
      st.gTransmitting = true;
      break;
    case '!': st.gBangSeen = true; break;
    case '#': st.gHashSeen = true; break;
    case '.': st.gDotSeen = true; break;
    default: break;  // ")" and anything unlisted
  }
}

}  // namespace zr
