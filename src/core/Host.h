#pragma once
// Services the engine needs from the desktop. Calls come from the engine
// thread; the blocking ones return when the operator has answered.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/WindowModel.h"

namespace zr {

// Copies of every window model at one moment, for the view to draw.
struct Snapshot {
  std::vector<std::shared_ptr<const WindowModel>> windows;
  const WindowModel* find(const std::string& name) const {
    for (const auto& w : windows)
      if (w->name() == name) return w.get();
    return nullptr;
  }
};

struct FileDialogRequest {
  bool save = false;
  std::string title;
  // Descriptions and patterns alternating: "All Files|*.*|Text Files|*.txt";
  // a trailing "|" adds no entry.
  std::string filter;
  int filterIndex = 1;     // the pair shown first, counted from 1
  std::string defaultExt;  // added to a typed name without one ("txt")
  std::string initialDir;
  std::string fileName;
};

class Host {
 public:
  virtual ~Host() = default;
  virtual void publish(std::shared_ptr<const Snapshot> snapshot) = 0;
  // False when nothing is drawn (benchmarks, fuzzing): the engine then makes
  // no snapshots, which would otherwise cost most of a busy run.
  virtual bool showsWindows() const { return true; }
  virtual void beep() = 0;
  // Modal, OK button only.
  virtual void messageBox(const std::string& text, const std::string& title) = 0;
  // The chosen path, or nothing when cancelled.
  virtual std::optional<std::string> fileDialog(const FileDialogRequest& request) = 0;
  virtual void openHelp(const std::string& file) = 0;
  // The engine has ended; the desktop side may close.
  virtual void quit() = 0;
};

}  // namespace zr
