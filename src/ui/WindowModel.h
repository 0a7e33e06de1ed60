#pragma once
// Base of every window's control model: the window itself plus a way to reach
// each control by name, which the engine needs to route and check input and the
// view needs to diff snapshots.
#include <functional>
#include <memory>
#include <string>

#include "ui/Control.h"

namespace zr {

struct WindowModel {
  Control window;  // kind Window: caption = title, enabled, visible

  WindowModel() = default;
  explicit WindowModel(std::string name) : window(makeControl(ControlKind::Window, std::move(name))) {}
  virtual ~WindowModel() = default;
  WindowModel(const WindowModel&) = default;
  WindowModel& operator=(const WindowModel&) = default;

  const std::string& name() const { return window.name; }

  virtual std::unique_ptr<WindowModel> clone() const = 0;

  // Every control except the window itself, in design order.
  virtual void forEachControl(const std::function<void(Control&)>& f) = 0;
  void forEachControl(const std::function<void(const Control&)>& f) const {
    const_cast<WindowModel*>(this)->forEachControl([&](Control& c) { f(c); });
  }

  // nullptr when there is no such control.
  Control* find(const std::string& controlName, int index = -1);
  const Control* find(const std::string& controlName, int index = -1) const {
    return const_cast<WindowModel*>(this)->find(controlName, index);
  }
};

// True when both models hold the same window and controls.
bool sameControls(const WindowModel& a, const WindowModel& b);

}  // namespace zr
