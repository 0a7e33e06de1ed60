// The band list window's view: its rows inside the band frame, and where it
// opens beside the main window's band frame, kept on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QScreen>
#include <QTest>

#include "TestWindowModel.h"
#include "lists/BandSelectWindowModel.h"
#include "ui/MainWindowModel.h"
#include "ui/qt/BandSelectView.h"
#include "ui/qt/ViewSet.h"

namespace zr::test {
namespace {

using qt::BandSelectView;

TEST(BandSelectViewTest, OpensBesideTheBandFrameAndStaysOnTheScreen) {
  const QRect screen(0, 0, 1280, 800);
  const QSize size(420, 500);
  // The left edge as far from the main window's right edge as the frame is wide.
  EXPECT_EQ(BandSelectView::besideBandFrame(QRect(100, 50, 900, 600), 250, size, screen), QPoint(750, 50));
  // Sticking out to the right, or below, it moves back inside.
  EXPECT_EQ(BandSelectView::besideBandFrame(QRect(700, 50, 900, 600), 250, size, screen), QPoint(860, 50));
  EXPECT_EQ(BandSelectView::besideBandFrame(QRect(100, 400, 900, 600), 250, size, screen), QPoint(750, 300));
  // Larger than the screen: its top left corner stays in reach.
  EXPECT_EQ(BandSelectView::besideBandFrame(QRect(0, 0, 900, 600), 250, QSize(1500, 900), screen), QPoint(0, 0));
  // A screen that does not start at 0 (a panel on the left or top).
  EXPECT_EQ(BandSelectView::besideBandFrame(QRect(100, 0, 900, 600), 250, size, QRect(40, 30, 1240, 770)),
            QPoint(750, 30));
}

TEST(BandSelectViewTest, ViewPlacesTheWindowAtItsAnchorEachTimeItOpens) {
  InputLog log;
  qt::ViewSet views(log.sink());
  auto main = std::make_shared<MainWindowModel>();
  main->window.left = 300;
  main->window.top = 450;
  auto band = std::make_shared<BandSelectWindowModel>();
  Snapshot snapshot;
  snapshot.windows = {main, band};
  views.apply(snapshot);
  qt::WindowView* view = views.find(BandSelectWindowModel::kName);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(views.mainView()));

  auto shown = std::make_shared<BandSelectWindowModel>(*band);
  shown->window.visible = true;
  snapshot.windows = {main, shown};
  views.apply(snapshot);
  ASSERT_TRUE(view->isVisible());
  const QWidget* frame = views.mainView()->widget("fraBand");
  const QPoint expected = BandSelectView::besideBandFrame(views.mainView()->frameGeometry(), frame->width(),
                                                          view->frameGeometry().size(),
                                                          views.mainView()->screen()->availableGeometry());
  EXPECT_EQ(view->pos(), expected);
  ASSERT_FALSE(log.of(EventKind::Move).empty());  // the model learns where it is

  // Moved by the operator, closed, opened again: back beside the frame.
  view->move(expected + QPoint(-200, 40));
  auto hidden = std::make_shared<BandSelectWindowModel>(*shown);
  hidden->window.visible = false;
  hidden->window.left = 1234;
  snapshot.windows = {main, hidden};
  views.apply(snapshot);
  snapshot.windows = {main, shown};
  views.apply(snapshot);
  EXPECT_EQ(view->pos(), expected);

  // The rows are the frame's, top to bottom.
  const QWidget* rows = view->widget("fraBand");
  int lastY = -1;
  for (int i = 0; i < BandSelectWindowModel::kRows; ++i) {
    const QWidget* freq = view->widget("txtFreq", i);
    ASSERT_TRUE(freq && rows->isAncestorOf(freq)) << i;
    EXPECT_GT(freq->mapTo(rows, QPoint()).y(), lastY);
    lastY = freq->mapTo(rows, QPoint()).y();
  }
}

}  // namespace
}  // namespace zr::test
