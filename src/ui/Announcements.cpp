#include "ui/Announcements.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "ui/AccessibleText.h"

namespace zr::accessible {

namespace {

const Control* find(const WindowModel& w, const char* name, int index = -1) { return w.find(name, index); }

bool captionChanged(const WindowModel& before, const WindowModel& now, const char* name) {
  const Control* a = find(before, name);
  const Control* b = find(now, name);
  return a && b && a->caption != b->caption;
}

std::string lastLine(const std::string& text) {
  std::string line;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    if (end > start) line = text.substr(start, end - start);
    start = end + 1;
  }
  return line;
}

// A scanner's frequency box holds "F" and the frequency in Hz.
std::string scannedFrequency(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  if (digits.size() == 8) return frequencyReading(digits.substr(0, 7));
  return text;
}

// "Load: channel 7 of 40": the first, every tenth and the last are enough
// to follow a run without drowning everything else.
bool worthSaying(const std::string& status) {
  int n = 0, total = 0;
  char run[32];
  if (std::sscanf(status.c_str(), "%31[^:]: channel %d of %d", run, &n, &total) != 3) return true;
  return n == 1 || n == total || n % 10 == 0;
}

void mainWindow(const WindowModel& before, const WindowModel& now, std::vector<std::string>& out) {
  if (captionChanged(before, now, "lblXMTRCV") && !find(now, "lblXMTRCV")->caption.empty())
    out.push_back(find(now, "lblXMTRCV")->caption);
  if (captionChanged(before, now, "lblComStat")) {
    const std::string& was = find(before, "lblComStat")->caption;
    const std::string& is = find(now, "lblComStat")->caption;
    if (is == "Port Lost") out.push_back(is);
    else if (was == "Port Lost") out.push_back("Port back, " + is);
  }
  if (captionChanged(before, now, "lblInBand")) {
    const std::string& was = find(before, "lblInBand")->caption;
    const std::string& is = find(now, "lblInBand")->caption;
    if (is == "Out Of Band") out.push_back(is);
    else if (was == "Out Of Band") out.push_back(is.empty() ? "In band" : is);
  }
  const Control* infoWas = find(before, "txtInfo");
  const Control* info = find(now, "txtInfo");
  if (infoWas && info && infoWas->text != info->text)
    if (std::string line = lastLine(info->text); !line.empty()) out.push_back(line);
}

void scanners(const WindowModel& before, const WindowModel& now, std::vector<std::string>& out) {
  if (now.name() == "frmScanBands") {
    const Control* was = find(before, "txtFreq");
    const Control* is = find(now, "txtFreq");
    if (was && is && was->text != is->text && !is->text.empty()) out.push_back(scannedFrequency(is->text));
  } else if (now.name() == "frmScanFreqs") {
    // The row being visited is marked in a colour of its own.
    for (int i = 0;; ++i) {
      const Control* was = find(before, "Check1", i);
      const Control* is = find(now, "Check1", i);
      if (!was || !is) break;
      if (was->backColor == is->backColor || is->backColor != colours::Red) continue;
      if (const Control* freq = find(now, "txtFreq", i)) out.push_back(freq->text);
    }
  }
}

}  // namespace

std::vector<std::string> announcements(const WindowModel* before, const WindowModel& now) {
  std::vector<std::string> out;
  if (!before || !now.window.visible) return out;
  if (now.name() == "frmZR3817") mainWindow(*before, now, out);
  scanners(*before, now, out);
  if (captionChanged(*before, now, "lblStatus")) {
    const std::string& status = find(now, "lblStatus")->caption;
    if (!status.empty() && worthSaying(status)) out.push_back(status);
  }
  // Any window's error line, as it appears or changes.
  const Control* errWas = find(*before, "lblError");
  const Control* err = find(now, "lblError");
  if (errWas && err && err->visible && (!errWas->visible || errWas->caption != err->caption))
    out.push_back(plainCaption(err->caption));
  return out;
}

}  // namespace zr::accessible
