// The operator's input reaches the engine as the program's events.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "TestWindowModel.h"
#include "ui/qt/KeyPreview.h"
#include "ui/qt/WindowView.h"

namespace zr::test {
namespace {

using qt::WindowView;

class ViewInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  }

  TestWindowModel model;
  InputLog log;
  qt::KeyPreview keys;
  WindowView view{model, log.sink()};

  template <class W>
  W* w(const char* name, int index = -1) {
    return qobject_cast<W*>(view.widget(name, index));
  }
};

TEST_F(ViewInputTest, ButtonPressesCarryTheMouseButton) {
  auto* button = w<QPushButton>("cmdGo");
  QTest::mousePress(button, Qt::LeftButton);
  QTest::mouseRelease(button, Qt::LeftButton);
  QTest::mousePress(button, Qt::RightButton, Qt::ShiftModifier);
  QTest::mouseRelease(button, Qt::RightButton, Qt::ShiftModifier);

  std::vector<std::pair<EventKind, int>> seen;
  for (const auto& e : log.events) {
    EXPECT_EQ(e.window, "frmTest");
    EXPECT_EQ(e.control, "cmdGo");
    seen.emplace_back(e.kind, e.button);
  }
  const std::vector<std::pair<EventKind, int>> expected = {
      {EventKind::MouseDown, 1}, {EventKind::MouseUp, 1}, {EventKind::Click, 0},
      {EventKind::MouseDown, 2}, {EventKind::MouseUp, 2}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(log.events.back().shift, 1);
}

TEST_F(ViewInputTest, KeysGoToTheWindowFirstOnceEach) {
  auto* edit = w<QLineEdit>("txtEntry");
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_I);
  // The button ignores the key, so Qt hands it on to its parents: still one press.
  QTest::keyClick(w<QPushButton>("cmdGo"), Qt::Key_D);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_I, Qt::NoModifier, "i", true);
  QApplication::sendEvent(edit, &repeat);

  const auto keys = log.of(EventKind::KeyDown);
  ASSERT_EQ(keys.size(), 3u);
  for (const auto& e : keys) {
    EXPECT_EQ(e.window, "frmTest");
    EXPECT_TRUE(e.control.empty());
  }
  EXPECT_EQ(keys[0].keyCode, 73);
  EXPECT_EQ(keys[1].keyCode, 68);
  EXPECT_EQ(keys[2].keyCode, 73);
  EXPECT_EQ(edit->text(), "ii");  // the text box still gets its typing
}

TEST_F(ViewInputTest, ChoicesCarryTheirNewValue) {
  auto* combo = w<QComboBox>("cmbMode");
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);
  const auto clicks = log.of(EventKind::Click);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].control, "cmbMode");
  EXPECT_EQ(clicks[0].text, "LSB");

  log.events.clear();
  QTest::mouseClick(w<QCheckBox>("chkOn"), Qt::LeftButton);
  ASSERT_EQ(log.events.size(), 1u);
  EXPECT_EQ(log.events[0].kind, EventKind::Click);
  EXPECT_EQ(log.events[0].value, 1);

  log.events.clear();
  w<QScrollBar>("vscGain")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  ASSERT_EQ(log.events.size(), 1u);
  EXPECT_EQ(log.events[0].kind, EventKind::Change);
  EXPECT_EQ(log.events[0].value, 1);
}

TEST_F(ViewInputTest, OptionClicksLeaveTheGroupToTheEngine) {
  auto click = [](QWidget* option) { QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2)); };
  auto* chosen = w<QRadioButton>("optSide", 0);
  click(chosen);
  EXPECT_TRUE(chosen->isChecked());  // a chosen option stays chosen
  click(w<QRadioButton>("optSide", 1));
  const auto clicks = log.of(EventKind::Click);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].index, 0);
  EXPECT_EQ(clicks[1].index, 1);

  // The handler refused the choice: the model says option 1 is not chosen.
  view.apply(model);
  EXPECT_FALSE(w<QRadioButton>("optSide", 1)->isChecked());
}

TEST_F(ViewInputTest, CloseAndMenuEntriesAreLeftToTheEngine) {
  EXPECT_FALSE(view.close());
  EXPECT_TRUE(view.isVisible());
  view.action("mnuFileExit")->trigger();
  ASSERT_EQ(log.events.size(), 2u);
  EXPECT_EQ(log.events[0].kind, EventKind::Close);
  EXPECT_EQ(log.events[0].window, "frmTest");
  EXPECT_TRUE(log.events[0].control.empty());
  EXPECT_EQ(log.events[1].kind, EventKind::Click);
  EXPECT_EQ(log.events[1].control, "mnuFileExit");

  view.allowClose();
  EXPECT_TRUE(view.close());
  EXPECT_EQ(log.events.size(), 2u);
}

}  // namespace
}  // namespace zr::test
