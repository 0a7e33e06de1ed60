#pragma once
// The engine runtime: the pump that delivers input, line events and timer
// ticks to handlers at the program's pump points, the blocking waits of the
// link, nested modal loops, and snapshot publishing to the view. Runs on one
// thread; only post() and requestQuit() may be called from others.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "core/Clock.h"
#include "core/Host.h"
#include "core/InputEvent.h"
#include "core/SerialPort.h"
#include "ui/WindowModel.h"

namespace zr {

// Thrown out of pump() once the program has been told to end, so every
// nested loop unwinds. Not a std::exception: error handlers that report and
// carry on must not catch it.
struct ProgramEnd {};

class Engine {
 public:
  using Handler = std::function<void(const InputEvent&)>;

  Engine(Clock& clock, Host& host);

  Clock& clock() { return clock_; }
  Host& host() { return host_; }

  // The window must stay where it is (and keep its controls) while the engine runs.
  void addWindow(WindowModel& window);
  WindowModel* window(const std::string& name);

  // `control` empty = the window itself (form-level keys, Close).
  void on(const std::string& window, const std::string& control, EventKind kind, Handler handler);
  // Port line events (comm:: codes) are delivered to `handler` at pump points.
  void addLineEventSource(SerialPort& port, std::function<void(int code)> handler);
  // Work that must go on while the program waits (station software asking on
  // the CAT port): run at every pump and each time a blocking wait wakes.
  // Returns the seconds until it must run again, negative when only new
  // input can give it work. It must not wait itself.
  void addWaitService(std::function<double()> service);
  // Runs at every publish(), for state other threads read.
  void addPublishHook(std::function<void()> hook);
  // Where errors thrown by handlers are reported (the information box).
  void setErrorReporter(std::function<void(const std::string&)> reporter) { reportError_ = std::move(reporter); }

  // Thread-safe: queue operator input for the next pump.
  void post(InputEvent event);
  // Thread-safe: run `task` at the next pump, in turn with queued input.
  // `routine` names it when it reports an error.
  void postTask(const std::string& routine, std::function<void()> task);
  // Thread-safe: end the program at the next pump.
  void requestQuit();
  bool quitRequested() const;
  // Input waiting for the next pump.
  std::size_t pendingInput() const;

  // Deliver everything pending: line events, due timer ticks, queued input,
  // in that order. When nothing was pending, block up to `maxBlockSeconds`
  // for something to arrive and deliver it. Publishes first. Throws
  // ProgramEnd once quit was requested. Returns true when anything ran.
  bool pump(double maxBlockSeconds = 0);

  // Every blocking step lasts at least this long (several steps of the time
  // of day's rounding), so rounding can never keep a wait, or a caller's
  // loop around waits, from ending.
  static constexpr double kShortestStep = 1e-10;
  // Block for `seconds`, or until `done` holds (checked whenever the clock
  // wakes: port input, posted input). No handler runs, only wait services.
  // Publishes first. True when `done` held.
  bool wait(double seconds, const std::function<bool()>& done = {});

  // Show `dialog` modally over `owner`: the owner is disabled, the engine
  // pumps until the dialog hides itself, then the owner is enabled again.
  // A Close of the owner meanwhile hides the dialog (and any opened over
  // it) and reaches the owner's handler.
  void runModal(WindowModel& dialog, WindowModel& owner);

  // Send the view a snapshot when any model changed since the last one.
  void publish();

  // Host services that block: the view sees the latest models first.
  void messageBox(const std::string& text, const std::string& title = {});
  std::optional<std::string> fileDialog(const FileDialogRequest& request);
  void beep() { host_.beep(); }

 private:
  struct LineSource {
    SerialPort* port;
    std::function<void(int)> handler;
  };
  struct Modal {
    WindowModel* dialog;
    WindowModel* owner;
  };
  struct TimerState {
    double since = -1;  // time of day of the start or last tick; <0 = not running
    int interval = 0;
  };

  double serveWaiting();
  bool deliverPending();
  bool deliverTimers();
  void deliver(const InputEvent& event);
  static void applyValue(WindowModel& window, Control& control, const InputEvent& event);
  double secondsToNextTimer();
  void runHandler(const Handler& handler, const InputEvent& event);
  // Hides every modal window opened over `owner`; false when there is none.
  bool endModalsOver(WindowModel& owner);

  Clock& clock_;
  Host& host_;
  std::vector<WindowModel*> windows_;
  // Per window, in the order of windows_: its controls and its timers. A
  // model's controls are members, so their addresses last as long as it.
  std::vector<std::vector<const Control*>> controls_;
  std::vector<std::vector<Control*>> timerControls_;
  std::map<std::tuple<std::string, std::string, EventKind>, Handler> handlers_;
  std::vector<LineSource> lineSources_;
  std::vector<std::function<double()>> waitServices_;
  bool serving_ = false;
  std::vector<std::function<void()>> publishHooks_;
  std::map<std::string, TimerState> timers_;  // by "window.control"
  std::vector<Modal> modals_;                  // innermost last
  std::function<void(const std::string&)> reportError_;

  mutable std::mutex inboxMutex_;
  std::deque<InputEvent> inbox_;
  bool quit_ = false;

  std::shared_ptr<const Snapshot> published_;
  std::vector<std::vector<const Control*>> publishedControls_;
  // True when the view has nothing new to draw of window i.
  bool shownAsIs(std::size_t i) const;
};

}  // namespace zr
