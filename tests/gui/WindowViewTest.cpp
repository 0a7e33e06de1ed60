// Snapshots are shown by difference, and code-made changes never come back as input.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "TestWindowModel.h"
#include "ui/AboutWindowModel.h"
#include "ui/MainWindowModel.h"
#include "ui/qt/ViewSet.h"
#include "ui/qt/WindowView.h"

namespace zr::test {
namespace {

using qt::WindowView;

class WindowViewTest : public ::testing::Test {
 protected:
  TestWindowModel model;
  InputLog log;
  WindowView view{model, log.sink()};

  template <class W>
  W* w(const char* name, int index = -1) {
    auto* widget = qobject_cast<W*>(view.widget(name, index));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
};

TEST_F(WindowViewTest, BuildsWidgetsByKindWithFramesHoldingTheirChildren) {
  EXPECT_TRUE(view.isVisible());
  EXPECT_EQ(view.windowTitle(), "Test");
  auto* frame = w<QGroupBox>("fraBox");
  EXPECT_TRUE(frame->isAncestorOf(w<QPushButton>("cmdGo")));
  EXPECT_FALSE(frame->isAncestorOf(w<QLabel>("lblB")));
  EXPECT_EQ(w<QComboBox>("cmbMode")->currentText(), "USB");
  EXPECT_TRUE(w<QRadioButton>("optSide", 0)->isChecked());
  EXPECT_FALSE(w<QRadioButton>("optSide", 1)->isChecked());
  EXPECT_EQ(w<QScrollBar>("vscGain")->orientation(), Qt::Vertical);
  ASSERT_NE(view.action("mnuFileExit"), nullptr);
  EXPECT_EQ(view.action("mnuFileExit")->text(), "E&xit");
  EXPECT_EQ(view.widget("tmrTick"), nullptr);
}

TEST_F(WindowViewTest, TouchesOnlyTheWidgetsWhoseControlChanged) {
  // Mark a widget whose control does not change: a full redraw would undo it.
  w<QLabel>("lblB")->setText("untouched");
  w<QPushButton>("cmdGo")->setText("untouched");
  model.lblA.caption = "Split On";
  view.apply(model);
  EXPECT_EQ(w<QLabel>("lblA")->text(), "Split On");
  EXPECT_EQ(w<QLabel>("lblB")->text(), "untouched");
  EXPECT_EQ(w<QPushButton>("cmdGo")->text(), "untouched");
}

TEST_F(WindowViewTest, ShowsEveryKindOfChange) {
  model.lblA.foreColor = colours::Red;
  model.lblA.backColor = colours::Yellow;
  model.lblA.bold = true;
  model.lblA.toolTip = "tip";
  model.cmdGo.enabled = false;
  model.lblB.visible = false;
  model.vscGain.value = 40;
  model.lstRows.items = {"x", "y", "z"};
  model.lstRows.text = "y";
  model.cmbMode.text = "CW";
  model.mnuFileExit.enabled = false;
  model.window.caption = "Renamed";
  view.apply(model);

  auto* label = w<QLabel>("lblA");
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(label->palette().color(QPalette::Window), QColor(255, 255, 0));
  EXPECT_TRUE(label->autoFillBackground());
  EXPECT_TRUE(label->font().bold());
  EXPECT_EQ(label->toolTip(), "tip");
  EXPECT_FALSE(w<QPushButton>("cmdGo")->isEnabled());
  EXPECT_FALSE(w<QLabel>("lblB")->isVisible());
  EXPECT_EQ(w<QScrollBar>("vscGain")->value(), 40);
  EXPECT_EQ(w<QListWidget>("lstRows")->count(), 3);
  EXPECT_EQ(w<QListWidget>("lstRows")->currentItem()->text(), "y");
  EXPECT_EQ(w<QComboBox>("cmbMode")->currentText(), "CW");
  EXPECT_FALSE(view.action("mnuFileExit")->isEnabled());
  EXPECT_EQ(view.windowTitle(), "Renamed");

  // System colours follow the desktop palette; explicit ones are painted.
  model.lblA.foreColor = colours::GrayText;
  model.lblA.backColor = colours::ButtonFace;
  view.apply(model);
  EXPECT_EQ(label->palette().color(QPalette::WindowText),
            QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
  EXPECT_FALSE(label->autoFillBackground());

  model.window.visible = false;
  view.apply(model);
  EXPECT_FALSE(view.isVisible());
}

TEST_F(WindowViewTest, CodeMadeChangesRaiseNoInput) {
  model.cmbMode.text = "LSB";
  model.optSide[0].value = 0;
  model.optSide[1].value = 1;
  model.chkOn.value = 1;
  model.vscGain.value = 10;
  model.vscGain.min = 0;  // a range change moves the value too
  model.vscGain.max = 5;
  model.txtEntry.text = "typed by code";
  model.lstRows.items = {"a", "b"};
  model.lstRows.text = "b";
  view.apply(model);
  EXPECT_TRUE(w<QRadioButton>("optSide", 1)->isChecked());
  EXPECT_TRUE(w<QCheckBox>("chkOn")->isChecked());
  EXPECT_EQ(w<QLineEdit>("txtEntry")->text(), "typed by code");
  EXPECT_TRUE(log.events.empty());
}

TEST_F(WindowViewTest, TextBeingTypedIsNotOverwrittenUntilTheOperatorLeaves) {
  view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  auto* edit = w<QLineEdit>("txtEntry");
  edit->setFocus();
  QTest::keyClicks(edit, "12");
  ASSERT_EQ(edit->text(), "12");
  auto changes = log.of(EventKind::Change);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes.back().control, "txtEntry");
  EXPECT_EQ(changes.back().text, "12");

  model.txtEntry.text = "99";
  view.apply(model);
  EXPECT_EQ(edit->text(), "12");

  w<QPushButton>("cmdGo")->setFocus();
  EXPECT_EQ(edit->text(), "99");
}

TEST(ViewSetTest, EveryWindowOfASnapshotGetsItsViewWhenItFirstAppears) {
  InputLog log;
  qt::ViewSet views(log.sink());
  auto main = std::make_shared<MainWindowModel>();
  auto about = std::make_shared<AboutWindowModel>();
  Snapshot snapshot;
  snapshot.windows = {about, main};
  views.apply(snapshot);
  ASSERT_NE(views.mainView(), nullptr);
  WindowView* dialog = views.find(about->name());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->parent(), views.mainView());  // stays on top of the panel
  EXPECT_FALSE(dialog->isVisible());

  auto shown = std::make_shared<AboutWindowModel>(*about);
  shown->window.visible = true;
  auto disabled = std::make_shared<MainWindowModel>(*main);
  disabled->window.enabled = false;
  snapshot.windows = {shown, disabled};
  views.apply(snapshot);
  EXPECT_EQ(views.find(about->name()), dialog);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(views.mainView()->centralWidget()->isEnabled());
  EXPECT_FALSE(views.mainView()->menuBar()->isEnabled());
  EXPECT_TRUE(dialog->isEnabled());  // a modal window over a disabled owner still works
}

}  // namespace
}  // namespace zr::test
