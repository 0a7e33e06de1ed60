// The engine runtime: what reaches handlers at pump points, and when.
#include <gtest/gtest.h>

#include "core/Engine.h"
#include "core/Errors.h"
#include "core/FakeClock.h"
#include "core/FakeSerialPort.h"
#include "support/RecordingHost.h"

namespace zr::test {
namespace {

struct TestWindow : WindowModel {
  TestWindow() : WindowModel("frmTest") {
    button = makeControl(ControlKind::Button, "cmdGo");
    combo = makeControl(ControlKind::ComboBox, "cmbList");
    scroll = makeControl(ControlKind::ScrollBar, "vscGain");
    scroll.min = 63;
    scroll.max = 0;
    for (int i = 0; i < 3; ++i) options[i] = makeControl(ControlKind::OptionButton, "optPick", i);
    options[0].value = 1;
    timer = makeControl(ControlKind::Timer, "tmrTick");
  }
  std::unique_ptr<WindowModel> clone() const override { return std::make_unique<TestWindow>(*this); }
  void forEachControl(const std::function<void(Control&)>& f) override {
    f(button), f(combo), f(scroll), f(timer);
    for (auto& o : options) f(o);
  }
  using WindowModel::forEachControl;
  Control button, combo, scroll, timer;
  std::array<Control, 3> options;
};

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() { engine.addWindow(w); }
  InputEvent event(const std::string& control, EventKind kind, int index = -1) {
    InputEvent e;
    e.window = "frmTest";
    e.control = control;
    e.kind = kind;
    e.index = index;
    return e;
  }
  FakeClock clock;
  RecordingHost host;
  Engine engine{clock, host};
  TestWindow w;
  std::vector<std::string> log;
};

TEST_F(EngineTest, InputRunsOnlyAtPumpPointsInArrivalOrder) {
  engine.on("frmTest", "cmdGo", EventKind::MouseDown, [&](const InputEvent& e) {
    log.push_back("down" + std::to_string(e.button));
  });
  engine.on("frmTest", "cmdGo", EventKind::MouseUp, [&](const InputEvent&) { log.push_back("up"); });
  auto down = event("cmdGo", EventKind::MouseDown);
  down.button = 2;
  engine.post(down);
  engine.post(event("cmdGo", EventKind::MouseUp));
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(engine.pump());
  EXPECT_EQ(log, (std::vector<std::string>{"down2", "up"}));
  EXPECT_FALSE(engine.pump());
}

TEST_F(EngineTest, InputForDisabledOrHiddenControlsAndWindowsIsDropped) {
  int clicks = 0;
  engine.on("frmTest", "cmdGo", EventKind::Click, [&](const InputEvent&) { ++clicks; });
  w.button.enabled = false;
  engine.post(event("cmdGo", EventKind::Click));
  engine.pump();
  w.button.enabled = true;
  w.button.visible = false;
  engine.post(event("cmdGo", EventKind::Click));
  engine.pump();
  w.button.visible = true;
  w.window.enabled = false;
  engine.post(event("cmdGo", EventKind::Click));
  engine.pump();
  EXPECT_EQ(clicks, 0);
  w.window.enabled = true;
  engine.post(event("cmdGo", EventKind::Click));
  engine.post(event("cmdNoSuchButton", EventKind::Click));
  engine.pump();
  EXPECT_EQ(clicks, 1);
}

TEST_F(EngineTest, NewValueIsInTheModelBeforeTheHandlerRuns) {
  std::string seen;
  engine.on("frmTest", "cmbList", EventKind::Click, [&](const InputEvent&) { seen = w.combo.text; });
  int scrollSeen = -1;
  engine.on("frmTest", "vscGain", EventKind::Change, [&](const InputEvent&) { scrollSeen = w.scroll.value; });
  auto pick = event("cmbList", EventKind::Click);
  pick.text = "LSB";
  engine.post(pick);
  auto moved = event("vscGain", EventKind::Change);
  moved.value = 99;  // outside 63..0: clamped
  engine.post(moved);
  engine.post(event("optPick", EventKind::Click, 2));
  engine.pump();
  EXPECT_EQ(seen, "LSB");
  EXPECT_EQ(scrollSeen, 63);
  EXPECT_FALSE(w.options[0].selected());
  EXPECT_TRUE(w.options[2].selected());
}

TEST_F(EngineTest, HandlerErrorsAreReportedAndTheEngineGoesOn) {
  std::string reported;
  engine.setErrorReporter([&](const std::string& t) { reported = t; });
  engine.on("frmTest", "cmdGo", EventKind::Click, [&](const InputEvent&) { throw RuntimeError(err::Overflow); });
  engine.post(event("cmdGo", EventKind::Click));
  engine.pump();
  EXPECT_EQ(reported, "cmdGo: Err 6. Overflow");
}

TEST_F(EngineTest, BlockingPumpWakesForInputAndOtherwiseWaitsItsTime) {
  int clicks = 0;
  engine.on("frmTest", "cmdGo", EventKind::Click, [&](const InputEvent&) { ++clicks; });
  EXPECT_FALSE(engine.pump(0.02));
  EXPECT_NEAR(clock.elapsed(), 0.02, 1e-9);
  clock.scheduleIn(0.005, [&] { engine.post(event("cmdGo", EventKind::Click)); });
  EXPECT_TRUE(engine.pump(0.02));
  EXPECT_EQ(clicks, 1);
  EXPECT_NEAR(clock.elapsed(), 0.025, 1e-9);
}

TEST_F(EngineTest, WaitsEndAtTheirConditionAndRunNoHandlers) {
  FakeSerialPort port(clock);
  port.open();
  int clicks = 0;
  engine.on("frmTest", "cmdGo", EventKind::Click, [&](const InputEvent&) { ++clicks; });
  clock.scheduleIn(0.05, [&] { engine.post(event("cmdGo", EventKind::Click)); });
  clock.scheduleIn(0.1, [&] { port.deliver("x"); });
  EXPECT_TRUE(engine.wait(0.8, [&] { return port.inBufferCount() > 0; }));
  EXPECT_NEAR(clock.elapsed(), 0.1, 1e-9);
  EXPECT_EQ(clicks, 0) << "input waits for the next pump";

  // A fixed delay keeps its length however often it is woken.
  clock.scheduleIn(0.05, [&] { port.deliver("y"); });
  EXPECT_FALSE(engine.wait(0.2));
  EXPECT_NEAR(clock.elapsed(), 0.3, 1e-9);
  engine.pump();
  EXPECT_EQ(clicks, 1);
}

TEST_F(EngineTest, WaitServicesRunAtPumpsAndWhenAWaitWakesOrTheyAreDue) {
  FakeSerialPort port(clock);
  port.open();
  std::vector<double> runs;
  double dueAt = -1;  // elapsed time at which the service wants to run again
  engine.addWaitService([&] {
    runs.push_back(clock.elapsed());
    if (dueAt >= 0 && clock.elapsed() >= dueAt - 1e-9) dueAt = -1;
    return dueAt < 0 ? -1.0 : dueAt - clock.elapsed();
  });
  engine.pump();
  EXPECT_EQ(runs, std::vector<double>{0.0});

  // Woken by input during a delay, and again when it asked to be.
  clock.scheduleIn(0.1, [&] {
    port.deliver("x");
    dueAt = 0.115;
  });
  runs.clear();
  engine.wait(0.3);
  ASSERT_GE(runs.size(), 3u);
  EXPECT_NEAR(runs[1], 0.1, 1e-9);
  EXPECT_NEAR(runs[2], 0.115, 1e-9);

  // A blocking pump sleeps no longer than the service's next run.
  dueAt = clock.elapsed() + 0.015;
  const double before = clock.elapsed();
  engine.pump(1.0);
  EXPECT_NEAR(clock.elapsed() - before, 0.015, 1e-9);
}

TEST_F(EngineTest, TimersTickAtTheirIntervalWhileEnabled) {
  std::vector<double> ticks;
  engine.on("frmTest", "tmrTick", EventKind::Timer, [&](const InputEvent&) { ticks.push_back(clock.elapsed()); });
  w.timer.interval = 100;
  while (clock.elapsed() < 0.55) engine.pump(0.02);
  ASSERT_EQ(ticks.size(), 5u);
  EXPECT_NEAR(ticks[0], 0.1, 1e-6);
  EXPECT_NEAR(ticks[4], 0.5, 1e-6);
  w.timer.enabled = false;
  while (clock.elapsed() < 1.0) engine.pump(0.02);
  EXPECT_EQ(ticks.size(), 5u);
}

TEST_F(EngineTest, LineEventsReachTheirHandler) {
  FakeSerialPort port(clock);
  port.open();
  std::vector<int> codes;
  engine.addLineEventSource(port, [&](int c) { codes.push_back(c); });
  port.raiseLineEvent(comm::Break);
  port.setDsr(false);
  engine.pump();
  EXPECT_EQ(codes, (std::vector<int>{comm::Break, comm::EvDSR}));
}

TEST_F(EngineTest, ModalWindowDisablesItsOwnerUntilItHides) {
  TestWindow dialog;
  dialog.window.name = "frmDialog";
  dialog.window.visible = false;
  engine.addWindow(dialog);
  bool ownerEnabledInside = true;
  engine.on("frmDialog", "cmdGo", EventKind::Click, [&](const InputEvent&) {
    ownerEnabledInside = w.window.enabled;
    dialog.window.visible = false;
  });
  int ownerClicks = 0;
  engine.on("frmTest", "cmdGo", EventKind::Click, [&](const InputEvent&) { ++ownerClicks; });
  clock.scheduleIn(0.1, [&] {
    engine.post(event("cmdGo", EventKind::Click));  // owner: dropped
    auto e = event("cmdGo", EventKind::Click);
    e.window = "frmDialog";
    engine.post(e);
  });
  engine.runModal(dialog, w);
  EXPECT_FALSE(ownerEnabledInside);
  EXPECT_TRUE(w.window.enabled);
  EXPECT_EQ(ownerClicks, 0);
}

TEST_F(EngineTest, CloseOfTheOwnerEndsNestedModalWindowsAndIsServed) {
  TestWindow dialog, inner;
  dialog.window.name = "frmDialog";
  inner.window.name = "frmInner";
  engine.addWindow(dialog);
  engine.addWindow(inner);
  std::vector<std::string> closed;
  engine.on("frmTest", "", EventKind::Close, [&](const InputEvent&) {
    closed.push_back(std::string(dialog.window.visible || inner.window.visible ? "modal open" : "modals ended"));
    engine.requestQuit();
  });
  engine.on("frmDialog", "cmdGo", EventKind::Click, [&](const InputEvent&) { engine.runModal(inner, dialog); });
  clock.scheduleIn(0.1, [&] {
    auto open = event("cmdGo", EventKind::Click);
    open.window = "frmDialog";
    engine.post(open);
  });
  clock.scheduleIn(0.2, [&] {
    engine.post(event("cmdGo", EventKind::Click));  // other input for the owner is still dropped
    engine.post(event("", EventKind::Close));
  });
  EXPECT_THROW(engine.runModal(dialog, w), ProgramEnd);
  EXPECT_EQ(closed, std::vector<std::string>{"modals ended"});
  EXPECT_TRUE(w.window.enabled);

  // Without a modal window over it, a disabled window's close stays dropped.
  w.window.enabled = false;
  Engine fresh{clock, host};
  fresh.addWindow(w);
  fresh.on("frmTest", "", EventKind::Close, [&](const InputEvent&) { closed.push_back("served"); });
  fresh.post(event("", EventKind::Close));
  fresh.pump();
  EXPECT_EQ(closed.size(), 1u);
}

TEST(FakeClockTest, AWaitAlwaysLetsTimePassHoweverLongTheRun) {
  FakeClock clock;
  clock.advanceTo(3.0e6);  // weeks of virtual time, as a long fuzz run reaches
  const double before = clock.elapsed();
  EXPECT_FALSE(clock.advanceUntil([] { return false; }, 1e-12));
  EXPECT_GT(clock.elapsed(), before);
  // A reply wait that counts down what is left of its interval ends.
  const double start = clock.now();
  int waits = 0;
  for (double left = 0.8; left > 0; left = 0.8 - secondsSince(start, clock.now())) {
    clock.advanceUntil([] { return false; }, left);
    ASSERT_LT(++waits, 1000);
  }
}

TEST_F(EngineTest, QuitUnwindsNestedLoops) {
  engine.requestQuit();
  EXPECT_THROW(engine.pump(), ProgramEnd);
}

TEST_F(EngineTest, SnapshotsArePublishedOnlyWhenSomethingChanged) {
  engine.pump();
  const int first = host.publishes;
  engine.pump();
  EXPECT_EQ(host.publishes, first);
  w.button.caption = "Go";
  engine.pump();
  EXPECT_EQ(host.publishes, first + 1);
  const auto* shown = dynamic_cast<const TestWindow*>(host.latest->find("frmTest"));
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->button.caption, "Go");
  w.button.caption = "Stop";
  EXPECT_EQ(shown->button.caption, "Go");  // a copy, not a view of the live model
}

TEST_F(EngineTest, OnlyWindowsThatChangedAreCopiedAndHiddenOnesWaitUntilTheyShow) {
  TestWindow dialog;
  dialog.window.name = "frmDialog";
  dialog.window.visible = false;
  engine.addWindow(dialog);
  engine.pump();
  const int first = host.publishes;
  const auto mainCopy = host.latest->windows[0];

  dialog.button.caption = "Loaded";  // hidden: nothing to draw yet
  engine.pump();
  EXPECT_EQ(host.publishes, first);

  dialog.window.visible = true;
  engine.pump();
  ASSERT_EQ(host.publishes, first + 1);
  EXPECT_EQ(host.latest->windows[0], mainCopy) << "an unchanged window keeps its copy";
  const auto* shown = dynamic_cast<const TestWindow*>(host.latest->find("frmDialog"));
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->button.caption, "Loaded");

  w.options[2].value = 1;  // a change late in the window's controls
  engine.pump();
  EXPECT_EQ(host.publishes, first + 2);
  EXPECT_NE(host.latest->windows[0], mainCopy);
}

TEST_F(EngineTest, MessageBoxShowsTheLatestModelsFirst) {
  engine.pump();
  w.button.caption = "changed";
  engine.messageBox("Check for stuck Push-to-Talk key, then click OK.");
  ASSERT_EQ(host.messages.size(), 1u);
  const auto* shown = dynamic_cast<const TestWindow*>(host.latest->find("frmTest"));
  EXPECT_EQ(shown->button.caption, "changed");
}

}  // namespace
}  // namespace zr::test
