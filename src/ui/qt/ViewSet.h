#pragma once
// One view per window model, created when a window first appears in a
// snapshot: the main window gets its front-panel layout, every other window
// the generic one, owned by the main window so dialogs stay on top of it.
// What changed that an operator must hear is announced from the main window.
#include <map>
#include <memory>
#include <string>

#include "core/Host.h"
#include "ui/qt/KeyPreview.h"
#include "ui/qt/WindowView.h"

namespace zr::qt {

class ViewSet {
 public:
  explicit ViewSet(WindowView::InputSink sink);
  ~ViewSet();
  ViewSet(const ViewSet&) = delete;
  ViewSet& operator=(const ViewSet&) = delete;

  // Draws every window of the snapshot.
  void apply(const Snapshot& snapshot);
  // Creates the view of `model` now (before the first snapshot).
  WindowView& add(const WindowModel& model);

  WindowView* find(const std::string& windowName) const;
  WindowView* mainView() const { return find(mainWindowName); }

  // The program has ended: close every window for good.
  void closeAll();

  static inline const std::string mainWindowName = "frmZR3817";

 private:
  WindowView::InputSink sink_;
  KeyPreview keys_;
  std::map<std::string, WindowView*> views_;
  std::unique_ptr<WindowView> main_;
  // The model each window showed last, to tell what changed.
  std::map<std::string, std::shared_ptr<const WindowModel>> shown_;
  void announceChanges(const std::shared_ptr<const WindowModel>& window);
};

}  // namespace zr::qt
