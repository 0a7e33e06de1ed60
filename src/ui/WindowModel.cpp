#include "ui/WindowModel.h"

#include <vector>

namespace zr {

Control* WindowModel::find(const std::string& controlName, int index) {
  if (controlName.empty() || controlName == window.name) return &window;
  Control* found = nullptr;
  forEachControl([&](Control& c) {
    if (!found && c.index == index && c.name == controlName) found = &c;
  });
  return found;
}

bool sameControls(const WindowModel& a, const WindowModel& b) {
  if (!(a.window == b.window)) return false;
  std::vector<const Control*> left;
  a.forEachControl([&](const Control& c) { left.push_back(&c); });
  std::size_t i = 0;
  bool same = true;
  b.forEachControl([&](const Control& c) {
    if (!same) return;
    if (i >= left.size() || !(*left[i] == c)) same = false;
    ++i;
  });
  return same && i == left.size();
}

}  // namespace zr
