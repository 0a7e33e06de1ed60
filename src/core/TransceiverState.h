#pragma once
// The shared transceiver state: the last status line of every item the
// transceiver reports, each in a fixed-width text with its changed flag, plus
// the markers of the last reply and the firmware type.
#include <cstddef>
#include <string>

namespace zr {

// A fixed-width text: longer values are cut, shorter ones padded with blanks.
class FixedText {
 public:
  explicit FixedText(std::size_t width) : width_(width), text_(width, ' ') {}
  FixedText& operator=(const std::string& value) {
    text_ = value.substr(0, width_);
    text_.resize(width_, ' ');
    return *this;
  }
  const std::string& str() const { return text_; }
  operator const std::string&() const { return text_; }
  bool operator==(const std::string& other) const { return text_ == other; }
  bool operator==(const char* other) const { return text_ == other; }
  char at(std::size_t i) const { return i < text_.size() ? text_[i] : ' '; }
  std::size_t width() const { return width_; }
  // Before the first report every item is blank.
  bool blank() const { return text_.find_first_not_of(' ') == std::string::npos; }

 private:
  std::size_t width_;
  std::string text_;
};

inline std::string operator+(const std::string& a, const FixedText& b) { return a + b.str(); }
inline std::string operator+(const FixedText& a, const std::string& b) { return a.str() + b; }
inline std::string operator+(const char* a, const FixedText& b) { return a + b.str(); }

struct TransceiverState {
  FixedText gFreqCmd{8};
  bool gFreqChanged = false;
  bool gFreqValid = false;
  FixedText gAgc{2};
  bool gAgcChanged = false;
  FixedText gMode{2};
  bool gModeChanged = false;
  FixedText gMeterSource{2};
  bool gMeterSourceChanged = false;
  FixedText gSource{2};
  bool gSourceChanged = false;
  FixedText gLocalRemote{2};
  bool gLocalRemoteChanged = false;
  FixedText gPttEnable{2};
  bool gPttEnableChanged = false;
  FixedText gSpeaker{2};
  bool gSpeakerChanged = false;
  FixedText gClip{2};
  bool gClipChanged = false;
  FixedText gSideTone{2};
  bool gSideToneChanged = false;
  FixedText gVox{2};
  bool gVoxChanged = false;
  FixedText gRemote{2};
  bool gRemoteChanged = false;
  FixedText gAmpState{2};
  bool gAmpStateChanged = false;
  FixedText gAmpTune{2};
  bool gAmpTuneChanged = false;
  FixedText gFault{2};
  bool gFaultChanged = false;
  FixedText gChannel{3};
  bool gChannelChanged = false;
  FixedText gChannelData{11};
  bool gChannelDataChanged = false;
  FixedText gRfGain{3};
  bool gRfGainChanged = false;
  FixedText gBfoReply{4};
  bool gBfoReplyChanged = false;
  FixedText gXReply{2};
  bool gXReplyChanged = false;
  FixedText gCommaReply{2};
  bool gCommaReplyChanged = false;
  FixedText gStarReply{2};
  bool gStarReplyChanged = false;
  FixedText gQTReply{3};
  FixedText gQCReply{3};

  // Markers of the replies decoded so far.
  bool gQSeen = false;
  bool gMeterDataSeen = false;
  bool gSyncSeen = false;
  bool gTransmitting = false;
  bool gBangSeen = false;
  bool gHashSeen = false;
  bool gDotSeen = false;
  bool gResponseComplete = false;

  // The link's last read.
  std::string gResponse;
  bool gResponseReceived = false;

  // 0 not yet known, 1 "v601", 2 "Adapt", 3 "NonAdapt".
  int gFwType = 0;

  std::string gShownFreqCmd;
  std::string gShownSideTone;
  std::string gVFOBFreqCmd;
  bool gTxUnrestricted = false;
  bool gScanning = false;
  bool gRadioBreak = false;

  // Sync exchange.
  std::string gKeyCmd = "U";
  std::string lastKeyCmd;
  double gLastSyncTime = 0;
  int gMissedSyncs = 0;

  // Amplifier tune cycle.
  bool gAmpTuning = false;
  double gAmpTuneStart = 0;
};

}  // namespace zr
