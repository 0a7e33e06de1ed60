// Where the list windows open: beside the main window's band frame, kept on
// the screen, and there again every time they open.
#include <gtest/gtest.h>

#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <climits>

#include "TestWindowModel.h"
#include "lists/BandSelectWindowModel.h"
#include "lists/ScanBandsWindowModel.h"
#include "lists/ScanFreqsWindowModel.h"
#include "ui/MainWindowModel.h"
#include "ui/qt/ViewSet.h"

namespace zr::test {
namespace {

using qt::WindowView;

TEST(PlacementTest, BesideTheAnchorAndOnTheScreen) {
  const QRect screen(0, 0, 1280, 800);
  const QSize size(420, 500);
  // The left edge as far from the main window's right edge as the frame is wide.
  EXPECT_EQ(WindowView::besideAnchor(QRect(100, 50, 900, 600), 250, size, screen), QPoint(750, 50));
  // Sticking out to the right, or below, it moves back inside.
  EXPECT_EQ(WindowView::besideAnchor(QRect(700, 50, 900, 600), 250, size, screen), QPoint(860, 50));
  EXPECT_EQ(WindowView::besideAnchor(QRect(100, 400, 900, 600), 250, size, screen), QPoint(750, 300));
  // Larger than the screen: its top left corner stays in reach.
  EXPECT_EQ(WindowView::besideAnchor(QRect(0, 0, 900, 600), 250, QSize(1500, 900), screen), QPoint(0, 0));
  // A screen that does not start at 0 (a panel on the left or top).
  EXPECT_EQ(WindowView::besideAnchor(QRect(100, 0, 900, 600), 250, size, QRect(40, 30, 1240, 770)), QPoint(750, 30));
  EXPECT_EQ(WindowView::insideArea(QPoint(-50, -20), size, QRect(40, 30, 1240, 770)), QPoint(40, 30));
}

// The main window where it was saved, centred, or grown: never out of reach.
TEST(PlacementTest, WindowsStayOnTheScreen) {
  InputLog log;
  TestWindowModel model;
  model.window.visible = true;
  auto twips = [](const QWidget& w, int pixels) { return pixels * 1440 / w.logicalDpiX(); };
  {
    // Saved on a wider desktop: pulled back inside this one.
    qt::WindowView probe(TestWindowModel{}, log.sink());
    const QRect area = probe.screen()->availableGeometry();
    model.window.left = twips(probe, area.right() - 10);
    model.window.top = twips(probe, area.top() + 20);
    qt::WindowView view(model, log.sink());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(view.frameGeometry().right(), area.right());
    EXPECT_NEAR(view.pos().y(), area.top() + 20, 1);

    // Grown past the bottom edge, it moves up.
    view.move(view.pos().x(), area.bottom() - view.frameGeometry().height());
    view.resize(view.width(), view.height() + 40);
    QCoreApplication::processEvents();
    EXPECT_LE(view.frameGeometry().bottom(), area.bottom());
  }
  {
    // Centred, it stays centred as its layout grows.
    model.window.left = model.window.top = INT_MIN;
    qt::WindowView view(model, log.sink());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QRect area = view.screen()->availableGeometry();
    view.setMinimumSize(view.width() + 100, view.height() + 60);
    QCoreApplication::processEvents();
    const QRect now = view.frameGeometry();
    EXPECT_NEAR(now.left() - area.left(), area.right() - now.right(), 1);
    EXPECT_NEAR((now.top() - area.top()) * 2, area.bottom() - now.bottom(), 2);
    // The model hands back, late, the place the window first told it: the
    // window stays where it is now.
    const auto moves = log.of(EventKind::Move);
    ASSERT_GE(moves.size(), 2u);
    TestWindowModel echoed = model;
    echoed.window.left = moves[moves.size() - 2].x;
    echoed.window.top = moves[moves.size() - 2].y;
    view.apply(echoed);
    EXPECT_EQ(view.frameGeometry(), now);
    // A place the model asks for itself is taken.
    echoed.window.left = echoed.window.top = 0;
    view.apply(echoed);
    EXPECT_EQ(view.pos(), area.topLeft());
  }
  {
    // Larger than the screen (the panel at 200 % on a small one): it scrolls
    // in a window the size of the screen, and keeps the keyboard.
    model.window.left = model.window.top = INT_MIN;
    qt::WindowView view(model, log.sink());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.activateWindow();
    QWidget* go = view.widget("cmdGo");
    go->setFocus();
    const QRect area = view.screen()->availableGeometry();
    view.centralWidget()->setMinimumSize(area.width() + 300, area.height() + 200);
    QCoreApplication::processEvents();
    EXPECT_TRUE(area.contains(view.frameGeometry())) << view.frameGeometry().width();
    EXPECT_NE(qobject_cast<QScrollArea*>(view.centralWidget()), nullptr);
    EXPECT_EQ(view.focusWidget(), go);
    // Disabled and enabled as a whole, as a modal window does.
    model.window.enabled = false;
    view.apply(model);
    EXPECT_FALSE(go->isEnabled());
    model.window.enabled = true;
    view.apply(model);
    EXPECT_TRUE(go->isEnabled());
  }
}

// Opens `window` over a main window, checks it sits beside the band frame,
// then moves it as the operator would, closes and reopens it.
void expectOpensBesideTheBandFrame(const WindowModel& window) {
  SCOPED_TRACE(window.name());
  InputLog log;
  qt::ViewSet views(log.sink());
  auto main = std::make_shared<MainWindowModel>();
  main->window.left = 300;
  main->window.top = 450;
  std::shared_ptr<WindowModel> hidden = window.clone();
  Snapshot snapshot;
  snapshot.windows = {main, hidden};
  views.apply(snapshot);
  WindowView* view = views.find(window.name());
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(views.mainView()));

  std::shared_ptr<WindowModel> shown = window.clone();
  shown->window.visible = true;
  snapshot.windows = {main, shown};
  views.apply(snapshot);
  ASSERT_TRUE(view->isVisible());
  const QWidget* frame = views.mainView()->widget("fraBand");
  ASSERT_NE(frame, nullptr);
  const QPoint expected = WindowView::besideAnchor(views.mainView()->frameGeometry(), frame->width(),
                                                   view->frameGeometry().size(),
                                                   views.mainView()->screen()->availableGeometry());
  EXPECT_EQ(view->pos(), expected);
  EXPECT_NE(view->pos(), views.mainView()->pos());
  ASSERT_FALSE(log.of(EventKind::Move).empty());  // the model learns where it is

  // Moved by the operator, closed, opened again: back beside the frame.
  view->move(expected + QPoint(-200, 40));
  std::shared_ptr<WindowModel> moved = shown->clone();
  moved->window.visible = false;
  moved->window.left = 1234;
  snapshot.windows = {main, moved};
  views.apply(snapshot);
  snapshot.windows = {main, shown};
  views.apply(snapshot);
  EXPECT_EQ(view->pos(), expected);
}

TEST(PlacementTest, ListWindowsOpenBesideTheBandFrameEachTime) {
  expectOpensBesideTheBandFrame(BandSelectWindowModel{});
  expectOpensBesideTheBandFrame(ScanBandsWindowModel{});
  expectOpensBesideTheBandFrame(ScanFreqsWindowModel{});
}

}  // namespace
}  // namespace zr::test
