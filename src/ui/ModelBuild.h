#pragma once
// Shorthands for the window models' initialisation, so each control reads
// as one line of its design properties.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace zr::model_build {

inline Control make(ControlKind kind, std::string name, std::string parent = {}, std::string caption = {},
                    std::string toolTip = {}) {
  Control c = makeControl(kind, std::move(name), -1, std::move(parent));
  c.caption = std::move(caption);
  c.toolTip = std::move(toolTip);
  return c;
}

// Fills a control array; element i gets index i.
template <std::size_t N>
void makeArray(std::array<Control, N>& array, ControlKind kind, const std::string& name, const std::string& parent,
               const std::string& toolTip = {}) {
  for (std::size_t i = 0; i < N; ++i) {
    array[i] = makeControl(kind, name, static_cast<int>(i), parent);
    array[i].toolTip = toolTip;
  }
}

inline Control frame(std::string name, std::string caption) {
  return make(ControlKind::Frame, std::move(name), {}, std::move(caption));
}

inline Control combo(std::string name, std::string parent, std::vector<std::string> items, std::string toolTip,
                     std::string text = {}) {
  Control c = make(ControlKind::ComboBox, std::move(name), std::move(parent), {}, std::move(toolTip));
  c.items = std::move(items);
  c.text = std::move(text);
  return c;
}

inline Control readOnlyText(std::string name, std::string parent, std::string text, std::string toolTip = {}) {
  Control c = make(ControlKind::TextBox, std::move(name), std::move(parent), {}, std::move(toolTip));
  c.text = std::move(text);
  c.locked = true;
  return c;
}

inline Control labelled(ControlKind kind, const char* name, const char* caption, int index = -1,
                        const char* parent = "") {
  Control c = makeControl(kind, name, index, parent);
  c.caption = caption;
  return c;
}

// A drop-down list showing its first item.
inline Control list(const char* name, std::vector<std::string> items) {
  Control c = makeControl(ControlKind::ComboBox, name);
  c.text = items.front();
  c.items = std::move(items);
  return c;
}

}  // namespace zr::model_build
