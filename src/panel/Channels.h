#pragma once
// The channel frame and the band buttons: running the transceiver from its
// memory channels or from the panel's VFO, storing and recalling a channel,
// and opening the band list for the chosen band.
#include <array>
#include <memory>
#include <string>

namespace zr {

class Panel;
class BandSelect;

class Channels {
 public:
  explicit Channels(Panel& panel);  // registers the channel and band buttons
  ~Channels();

  // In dispatch order.
  static constexpr std::array<const char*, 12> kBandButtons = {
      "cmd160M", "cmd75M", "cmd60M", "cmd40M", "cmd30M", "cmd20M",
      "cmd17M",  "cmd15M", "cmd12M", "cmd10M", "cmdWWV", "cmdMARS"};
  // The band list each button opens (the captions carry stray blanks).
  static constexpr std::array<const char*, 12> kBandKeys = {"160", "75", "60", "40", "30", "20",
                                                            "17",  "15", "12", "10", "WWV", "MARS"};

  // 0: use the radio's channels, 1: use the VFO. Acts at once.
  void optChan_Click(int index);
  void m2vCmd();
  void v2mCmd();
  void bandCmd(int band);
  // A band list row tuned the transceiver off its channel: channel operation
  // ends there, so "Use VFO" does not tune back to the VFO it began with.
  void endChannelsByRetune();

  std::array<bool, 12> bandPending{};
  bool m2vPending = false;
  bool v2mPending = false;

  // VFO A as it stood when channel operation began, and its mode.
  std::string savedVfoDigits;
  std::string savedMode;
  // Which band list the band window shows.
  std::string gBandName;

  BandSelect& bandSelect() { return *bandSelect_; }

 private:
  std::string channelDigits() const;

  Panel& p_;
  std::unique_ptr<BandSelect> bandSelect_;
  // Entered by "Use Radio's Channels", left by "Use VFO": a repeated click
  // must neither overwrite the saved VFO nor tune back to it again.
  bool onChannels_ = false;
};

}  // namespace zr
