#pragma once
// Stores each status line of a reply in the transceiver state and marks it
// changed; the display catches up later.
#include <cstdint>
#include <functional>
#include <string>

namespace zr {

class Panel;

class StatusDecoder {
 public:
  explicit StatusDecoder(Panel& panel) : p_(panel) {}

  // Decodes every complete line; each line feed that ended a decoded line is
  // replaced by "<" in `text`. A trailing piece without a line feed stays.
  void gParseResponse(std::string& text);
  // Lines decoded so far: the display compares it to know whether
  // anything arrived since it last caught up.
  std::uint64_t linesDecoded() const { return lines_; }

  // While a sink is set, each channel line ("P...") goes to it whole instead
  // of into the channel data the display copies onto VFO A: a window that
  // reads the channels consumes its own replies.
  void setChannelReplySink(std::function<void(const std::string&)> sink) { channelSink_ = std::move(sink); }

 private:
  void dispatch(const std::string& line);
  Panel& p_;
  std::function<void(const std::string&)> channelSink_;
  std::uint64_t lines_ = 0;
};

}  // namespace zr
