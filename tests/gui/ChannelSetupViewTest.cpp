// The channel window's own layout: every control placed, the list beside
// the buttons, and a run's state shown as the model says.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "TestWindowModel.h"
#include "lists/ChannelSetupWindowModel.h"
#include "ui/qt/ChannelSetupView.h"
#include "ui/qt/ViewSet.h"

namespace zr::test {
namespace {

TEST(ChannelSetupViewTest, PlacesEveryControlAndShowsARun) {
  InputLog log;
  qt::ViewSet views(log.sink());
  ChannelSetupWindowModel model;
  model.window.visible = true;
  auto* view = dynamic_cast<qt::ChannelSetupView*>(&views.add(model));
  ASSERT_NE(view, nullptr);
  model.forEachControl([&](const Control& c) {
    QWidget* w = view->widget(c.name);
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_TRUE(view->centralWidget()->isAncestorOf(w)) << c.name;
  });
  auto* list = qobject_cast<QListWidget*>(view->widget("lsbChList"));
  auto* load = qobject_cast<QPushButton*>(view->widget("cmdLoad"));
  ASSERT_TRUE(list && load);
  EXPECT_LT(list->geometry().right(), load->geometry().left());
  EXPECT_FALSE(view->widget("lsbVerify")->isVisible());

  model.lsbChList.items = {"0507074002", "1214074004"};
  model.cmdLoad.enabled = false;
  model.prgProgress.max = 100;
  model.prgProgress.value = 37;
  view->apply(model);
  EXPECT_EQ(list->count(), 2);
  EXPECT_FALSE(load->isEnabled());
  EXPECT_EQ(qobject_cast<QProgressBar*>(view->widget("prgProgress"))->value(), 37);
}

TEST(ChannelSetupViewTest, ALongStatusWrapsAndTheWindowKeepsItsWidth) {
  InputLog log;
  qt::ViewSet views(log.sink());
  ChannelSetupWindowModel model;
  model.window.visible = true;
  model.lblStatus.caption = "Saved to list.txt";
  auto* view = dynamic_cast<qt::ChannelSetupView*>(&views.add(model));
  ASSERT_NE(view, nullptr);
  QApplication::processEvents();
  const int width = view->width();
  const int okLeft = view->widget("cmdOK")->geometry().left();
  auto* status = qobject_cast<QLabel*>(view->widget("lblStatus"));
  ASSERT_NE(status, nullptr);

  const std::string longText =
      "Opened /home/operator/ZR3817 Files/Contest Weekend/Channel List 2026 Field Day.txt: 100 channels, "
      "12 lines skipped (first: line 3)";
  model.lblStatus.caption = longText;
  view->apply(model);
  QApplication::processEvents();
  EXPECT_EQ(view->width(), width);
  EXPECT_EQ(view->widget("cmdOK")->geometry().left(), okLeft) << "the buttons stay where they were";
  EXPECT_EQ(status->text().toStdString(), longText);
  EXPECT_LE(status->heightForWidth(status->width()), status->height()) << "the wrapped text fits";
}

}  // namespace
}  // namespace zr::test
