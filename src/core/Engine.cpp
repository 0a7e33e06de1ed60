#include "core/Engine.h"

#include <algorithm>

#include "core/BusyFlag.h"
#include "core/Errors.h"

namespace zr {

Engine::Engine(Clock& clock, Host& host) : clock_(clock), host_(host) {}

namespace {
std::vector<const Control*> controlsOf(const WindowModel& window) {
  std::vector<const Control*> out;
  window.forEachControl([&](const Control& c) { out.push_back(&c); });
  return out;
}
}  // namespace

void Engine::addWindow(WindowModel& window) {
  windows_.push_back(&window);
  controls_.push_back(controlsOf(window));
  std::vector<Control*> timers;
  window.forEachControl([&](Control& c) {
    if (c.kind == ControlKind::Timer) timers.push_back(&c);
  });
  timerControls_.push_back(std::move(timers));
}

WindowModel* Engine::window(const std::string& name) {
  for (auto* w : windows_)
    if (w->name() == name) return w;
  return nullptr;
}

void Engine::on(const std::string& window, const std::string& control, EventKind kind, Handler handler) {
  handlers_[{window, control, kind}] = std::move(handler);
}

void Engine::addLineEventSource(SerialPort& port, std::function<void(int)> handler) {
  lineSources_.push_back({&port, std::move(handler)});
}

void Engine::addWaitService(std::function<double()> service) { waitServices_.push_back(std::move(service)); }

void Engine::addPublishHook(std::function<void()> hook) { publishHooks_.push_back(std::move(hook)); }

void Engine::post(InputEvent event) {
  {
    std::lock_guard lock(inboxMutex_);
    inbox_.push_back(std::move(event));
  }
  clock_.wake();
}

void Engine::postTask(const std::string& routine, std::function<void()> task) {
  InputEvent e;
  e.kind = EventKind::Task;
  e.control = routine;
  e.task = std::move(task);
  post(std::move(e));
}

void Engine::requestQuit() {
  {
    std::lock_guard lock(inboxMutex_);
    quit_ = true;
  }
  clock_.wake();
}

bool Engine::quitRequested() const {
  std::lock_guard lock(inboxMutex_);
  return quit_;
}

std::size_t Engine::pendingInput() const {
  std::lock_guard lock(inboxMutex_);
  return inbox_.size();
}

bool Engine::pump(double maxBlockSeconds) {
  if (quitRequested()) throw ProgramEnd{};
  publish();
  const double serviceDue = serveWaiting();
  bool ran = deliverPending();
  if (!ran && maxBlockSeconds > 0) {
    double wait = maxBlockSeconds;
    for (const double due : {secondsToNextTimer(), serviceDue})
      if (due >= 0) wait = std::min(wait, due);
    clock_.waitForWake(wait);
    if (quitRequested()) throw ProgramEnd{};
    serveWaiting();
    ran = deliverPending();
  }
  publish();
  return ran;
}

bool Engine::wait(double seconds, const std::function<bool()>& done) {
  publish();
  const double start = clock_.now();
  bool waited = false;
  for (;;) {
    const double serviceDue = serveWaiting();
    if (done && done()) return true;
    const double left = seconds - secondsSince(start, clock_.now());
    // Once it has waited, what rounding leaves over is no wait.
    if (left <= (waited ? kShortestStep : 0)) return false;
    clock_.waitForWake(std::max(kShortestStep, serviceDue >= 0 ? std::min(left, serviceDue) : left));
    waited = true;
    publish();
  }
}

double Engine::serveWaiting() {
  if (serving_) return -1;
  BusyFlag busy(serving_);
  double due = -1;
  for (auto& service : waitServices_) {
    const double d = service();
    if (d >= 0 && (due < 0 || d < due)) due = std::max(d, kShortestStep);
  }
  return due;
}

bool Engine::deliverPending() {
  bool ran = false;
  for (auto& source : lineSources_) {
    if (!source.port->isOpen()) continue;
    std::vector<int> codes;
    try {
      codes = source.port->takeLineEvents();
    } catch (const RuntimeError&) {
      // A port that failed is reported by whoever uses it next.
    }
    for (int code : codes) {
      ran = true;
      try {
        source.handler(code);
      } catch (const RuntimeError& e) {
        if (reportError_) reportError_(errMessage("OnComm", e));
      }
    }
  }
  ran = deliverTimers() || ran;
  for (;;) {
    InputEvent event;
    {
      std::lock_guard lock(inboxMutex_);
      if (inbox_.empty()) break;
      event = std::move(inbox_.front());
      inbox_.pop_front();
    }
    ran = true;
    deliver(event);
    if (quitRequested()) throw ProgramEnd{};
  }
  return ran;
}

// Timer controls live in the window models; a timer ticks while it is enabled
// with a non-zero interval, first one interval after it was started.
bool Engine::deliverTimers() {
  bool ran = false;
  const double now = clock_.now();
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    WindowModel* w = windows_[i];
    std::vector<Control*> due;
    for (Control* timer : timerControls_[i]) {
      const Control& c = *timer;
      TimerState& t = timers_[w->name() + "." + c.id()];
      const bool running = c.enabled && c.interval > 0 && w->window.visible;
      if (!running) {
        t.since = -1;
        continue;
      }
      if (t.since < 0 || t.interval != c.interval) {
        t.interval = c.interval;
        t.since = now;
        continue;
      }
      // The microsecond allows for rounding in the time of day.
      if (secondsSince(t.since, now) >= c.interval / 1000.0 - 1e-6) {
        t.since = now;
        due.push_back(timer);
      }
    }
    for (Control* c : due) {
      InputEvent tick;
      tick.window = w->name();
      tick.control = c->name;
      tick.index = c->index;
      tick.kind = EventKind::Timer;
      auto it = handlers_.find({tick.window, tick.control, EventKind::Timer});
      if (it != handlers_.end()) {
        ran = true;
        runHandler(it->second, tick);
      }
    }
  }
  return ran;
}

double Engine::secondsToNextTimer() {
  const double now = clock_.now();
  double best = -1;
  for (const auto& [id, t] : timers_) {
    if (t.since < 0) continue;
    // Never less than a millisecond, so a blocking pump always lets time pass.
    const double left = std::max(0.001, t.interval / 1000.0 - secondsSince(t.since, now));
    if (best < 0 || left < best) best = left;
  }
  return best;
}

void Engine::deliver(const InputEvent& event) {
  if (event.kind == EventKind::Task) {
    if (event.task) runHandler([&event](const InputEvent&) { event.task(); }, event);
    return;
  }
  WindowModel* w = window(event.window);
  if (!w || !w->window.visible) return;
  // A close request cannot be refused: under a modal window it ends the
  // modal windows above its own and is then served.
  const bool closeRequest = event.kind == EventKind::Close && event.control.empty();
  if (!w->window.enabled && !(closeRequest && endModalsOver(*w))) return;
  Control* control = event.control.empty() ? &w->window : w->find(event.control, event.index);
  if (!control) return;
  if (control != &w->window && (!control->enabled || !control->visible)) return;
  applyValue(*w, *control, event);
  auto it = handlers_.find({event.window, event.control, event.kind});
  if (it != handlers_.end()) runHandler(it->second, event);
}

void Engine::runHandler(const Handler& handler, const InputEvent& event) {
  try {
    handler(event);
  } catch (const RuntimeError& e) {
    if (reportError_) reportError_(errMessage(event.control.empty() ? event.window : event.control, e));
  }
}

// The operator's new value is in the model before the handler runs.
void Engine::applyValue(WindowModel& window, Control& control, const InputEvent& event) {
  switch (control.kind) {
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::TextBox:
      if (event.text) control.text = *event.text;
      if (event.value) control.value = *event.value;
      break;
    case ControlKind::OptionButton:
      if (event.kind == EventKind::Click) {
        // Options of one control array form a group: choosing one clears the rest.
        window.forEachControl([&](Control& c) {
          if (c.kind == ControlKind::OptionButton && c.name == control.name) c.value = 0;
        });
        control.value = 1;
      }
      break;
    case ControlKind::CheckBox:
    case ControlKind::ScrollBar:
      if (event.value) control.value = std::clamp(*event.value, std::min(control.min, control.max),
                                                  std::max(control.min, control.max));
      break;
    case ControlKind::Window:
      if (event.kind == EventKind::Move) {
        control.left = event.x;
        control.top = event.y;
      }
      break;
    default:
      break;
  }
}

void Engine::runModal(WindowModel& dialog, WindowModel& owner) {
  owner.window.enabled = false;
  dialog.window.visible = true;
  dialog.window.enabled = true;
  modals_.push_back({&dialog, &owner});
  try {
    while (dialog.window.visible) pump(0.02);
  } catch (...) {
    modals_.pop_back();
    owner.window.enabled = true;
    throw;
  }
  modals_.pop_back();
  owner.window.enabled = true;
}

bool Engine::endModalsOver(WindowModel& owner) {
  auto lowest = std::find_if(modals_.begin(), modals_.end(), [&](const Modal& m) { return m.owner == &owner; });
  if (lowest == modals_.end()) return false;
  for (auto it = lowest; it != modals_.end(); ++it) it->dialog->window.visible = false;
  return true;
}

void Engine::publish() {
  for (auto& hook : publishHooks_) hook();
  if (!host_.showsWindows()) return;
  const bool first = !published_ || published_->windows.size() != windows_.size();
  std::size_t i = 0;
  while (!first && i < windows_.size() && shownAsIs(i)) ++i;
  if (i == windows_.size()) return;
  // Windows the view already shows as they are keep their copies; only the
  // others are copied again.
  auto snapshot = std::make_shared<Snapshot>();
  publishedControls_.resize(windows_.size());
  for (std::size_t k = 0; k < windows_.size(); ++k) {
    if (!first && k != i && (k < i || shownAsIs(k))) {
      snapshot->windows.push_back(published_->windows[k]);
      continue;
    }
    snapshot->windows.push_back(std::shared_ptr<const WindowModel>(windows_[k]->clone()));
    publishedControls_[k] = controlsOf(*snapshot->windows.back());
  }
  published_ = snapshot;
  host_.publish(published_);
}

bool Engine::shownAsIs(std::size_t i) const {
  const WindowModel& shown = *published_->windows[i];
  const WindowModel& live = *windows_[i];
  if (!(shown.window == live.window)) return false;
  // A window hidden before and now shows nothing; what changed in it goes
  // out with it when it shows again.
  if (!live.window.visible) return true;
  const auto& a = publishedControls_[i];
  const auto& b = controls_[i];
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k)
    if (!(*a[k] == *b[k])) return false;
  return true;
}

void Engine::messageBox(const std::string& text, const std::string& title) {
  publish();
  host_.messageBox(text, title);
}

std::optional<std::string> Engine::fileDialog(const FileDialogRequest& request) {
  publish();
  return host_.fileDialog(request);
}

}  // namespace zr
