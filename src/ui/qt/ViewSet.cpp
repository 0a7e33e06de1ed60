#include "ui/qt/ViewSet.h"

#include "lists/BandSelectWindowModel.h"
#include "ui/qt/BandSelectView.h"
#include "ui/qt/ChannelSetupView.h"
#include "ui/qt/SerialSetupView.h"
#include "ui/qt/TableLayoutView.h"

#include "ui/Announcements.h"
#include "ui/qt/MainWindowView.h"

namespace zr::qt {

namespace {
// Text boxes of the other windows that hold more than one line.
const std::set<std::string> kMultiLine = {"txtHelp"};
}  // namespace

ViewSet::ViewSet(WindowView::InputSink sink) : sink_(std::move(sink)) {}

ViewSet::~ViewSet() {
  // Views without the main window as parent are ours to delete.
  for (auto& [name, view] : views_)
    if (view != main_.get() && !view->parent()) delete view;
}

WindowView& ViewSet::add(const WindowModel& model) {
  if (WindowView* existing = find(model.name())) return *existing;
  WindowView* view = nullptr;
  if (model.name() == mainWindowName) {
    main_ = std::make_unique<MainWindowView>(model, sink_);
    view = main_.get();
  } else if (model.name() == ChannelSetupView::windowName) {
    view = new ChannelSetupView(model, sink_, main_.get());
  } else if (const auto* layout = SerialSetupView::layoutFor(model.name())) {
    view = new SerialSetupView(model, *layout, sink_, main_.get());
  } else if (model.name() == BandSelectWindowModel::kName) {
    view = new BandSelectView(model, sink_, main_.get());
  } else if (const auto* table = TableLayoutView::layoutFor(model.name())) {
    view = new TableLayoutView(model, *table, sink_, main_.get());
  } else {
    view = new WindowView(model, sink_, main_.get(), kMultiLine);
  }
  view->assignAccessKeys();
  views_[model.name()] = view;
  return *view;
}

void ViewSet::apply(const Snapshot& snapshot) {
  // The main window first, so the dialogs can belong to it.
  if (const WindowModel* main = snapshot.find(mainWindowName)) {
    if (WindowView* view = find(mainWindowName)) view->apply(*main);
    else add(*main);
  }
  for (const auto& window : snapshot.windows) {
    if (window->name() == mainWindowName) continue;
    if (WindowView* view = find(window->name())) view->apply(*window);
    else add(*window);
  }
  for (const auto& window : snapshot.windows) announceChanges(window);
}

void ViewSet::announceChanges(const std::shared_ptr<const WindowModel>& window) {
  auto& shown = shown_[window->name()];
  if (shown == window) return;  // a window that did not change keeps its copy
  const auto texts = accessible::announcements(shown.get(), *window);
  shown = window;
  if (auto* main = dynamic_cast<MainWindowView*>(main_.get()); main && !texts.empty()) main->announce(texts);
}

WindowView* ViewSet::find(const std::string& windowName) const {
  auto it = views_.find(windowName);
  return it == views_.end() ? nullptr : it->second;
}

void ViewSet::closeAll() {
  for (auto& [name, view] : views_) {
    view->allowClose();
    view->close();
  }
}

}  // namespace zr::qt
