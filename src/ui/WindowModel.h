#pragma once
// Base of every window's control model: the window itself plus a way to reach
// each control by name, which the engine needs to route and check input and the
// view needs to diff snapshots.
#include <climits>
#include <functional>
#include <memory>
#include <string>

#include "ui/Control.h"

namespace zr {

struct WindowModel {
  Control window;  // kind Window: caption = title, enabled, visible

  // A window position that is not twips but asks the view to open the
  // window beside this frame of the main window: its left edge as far left
  // of the main window's right edge as the frame is wide, its top on the
  // main window's top. The engine has no pixel sizes; the view does.
  static constexpr int kBesideAnchor = INT_MIN + 1;
  static constexpr const char* kAnchorWindow = "frmZR3817";
  static constexpr const char* kAnchorFrame = "fraBand";
  void openBesideAnchor() { window.left = window.top = kBesideAnchor; }

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
