// The wait of the long runs: windows stay live, a stop ends it within one
// event, and the end steps run however the run ends.
#include <gtest/gtest.h>

#include "core/Engine.h"
#include "core/FakeClock.h"
#include "lists/PumpingWait.h"
#include "support/RecordingHost.h"

namespace zr::test {
namespace {

struct StopWindow : WindowModel {
  StopWindow() : WindowModel("frmRun") { cmdStop = makeControl(ControlKind::Button, "cmdStop"); }
  std::unique_ptr<WindowModel> clone() const override { return std::make_unique<StopWindow>(*this); }
  void forEachControl(const std::function<void(Control&)>& f) override { f(cmdStop); }
  using WindowModel::forEachControl;
  Control cmdStop;
};

class PumpingWaitTest : public ::testing::Test {
 protected:
  PumpingWaitTest() {
    window.window.visible = true;
    engine.addWindow(window);
    engine.on("frmRun", "cmdStop", EventKind::Click, [this](const InputEvent&) { stopped = true; });
    clock.setLimit(100);
  }
  void clickStopAt(double at) {
    clock.scheduleAt(at, [this] {
      InputEvent e;
      e.window = "frmRun";
      e.control = "cmdStop";
      e.kind = EventKind::Click;
      engine.post(e);
    });
  }
  FakeClock clock{86399.0};  // a second before midnight
  RecordingHost host;
  Engine engine{clock, host};
  StopWindow window;
  bool stopped = false;
};

TEST_F(PumpingWaitTest, WaitsTheWholeTimeAcrossMidnight) {
  EXPECT_TRUE(pumpFor(engine, clock, 2.5, [this] { return stopped; }));
  EXPECT_NEAR(clock.elapsed(), 2.5, 0.001);
}

TEST_F(PumpingWaitTest, StopsAtTheStopClickNotAtTheEndOfTheWait) {
  clickStopAt(1.25);
  EXPECT_FALSE(pumpFor(engine, clock, 30, [this] { return stopped; }));
  EXPECT_NEAR(clock.elapsed(), 1.25, 0.001);
  EXPECT_FALSE(pumpFor(engine, clock, 30, [this] { return stopped; }));
  EXPECT_NEAR(clock.elapsed(), 1.25, 0.001);
}

TEST_F(PumpingWaitTest, EndStepsRunWhenTheProgramEndsInTheWait) {
  bool endStepsRan = false;
  clock.scheduleAt(0.5, [this] { engine.requestQuit(); });
  try {
    OnScopeExit end([&] { endStepsRan = true; });
    pumpFor(engine, clock, 10, {});
    FAIL() << "the wait outlived the program";
  } catch (const ProgramEnd&) {
  }
  EXPECT_TRUE(endStepsRan);
  EXPECT_NEAR(clock.elapsed(), 0.5, 0.001);
}

}  // namespace
}  // namespace zr::test
