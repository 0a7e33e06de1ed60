#pragma once
// Stores each status line of a reply in the transceiver state and marks it
// changed; the display catches up later.
#include <string>

namespace zr {

class Panel;

class StatusDecoder {
 public:
  explicit StatusDecoder(Panel& panel) : p_(panel) {}

  // Decodes every complete line; each line feed that ended a decoded line is
  // replaced by "<" in `text`. A trailing piece without a line feed stays.
  void gParseResponse(std::string& text);

 private:
  void dispatch(const std::string& line);
  Panel& p_;
};

}  // namespace zr
