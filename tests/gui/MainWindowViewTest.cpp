// The front panel layout of the main window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <algorithm>

#include "TestWindowModel.h"
#include "ui/MainWindowModel.h"
#include "ui/qt/MainWindowView.h"

namespace zr::test {
namespace {

TEST(MainWindowViewTest, PlacesEveryControlItNamesAndFitsTheScreen) {
  MainWindowModel model;
  InputLog log;
  qt::MainWindowView view(model, log.sink());
  EXPECT_TRUE(view.missingControls().empty()) << view.missingControls().front();
  // Everything shown at once, as in remote control with the data box open.
  model.forEachControl([](Control& c) { c.visible = true; });
  view.apply(model);
  const QSize size = view.sizeHint();
  EXPECT_LE(size.width(), 1280);
  EXPECT_LE(size.height(), 760);
}

TEST(MainWindowViewTest, VfoARowReadsAsAFrequency) {
  MainWindowModel model;
  InputLog log;
  qt::MainWindowView view(model, log.sink());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const std::string digits = "1425000";
  for (int i = 0; i < 7; ++i) model.cmdF[i].caption = std::string(1, digits[i]);
  view.apply(model);

  std::vector<QAbstractButton*> row;
  for (const std::string name : {"Command1", "Command2"}) row.push_back(qobject_cast<QAbstractButton*>(view.widget(name)));
  for (int i = 0; i < 7; ++i) row.push_back(qobject_cast<QAbstractButton*>(view.widget("cmdF", i)));
  std::sort(row.begin(), row.end(), [](auto* a, auto* b) { return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x(); });
  QString shown;
  for (auto* b : row) shown += b->text();
  EXPECT_EQ(shown, "14,250.00");
}

TEST(MainWindowViewTest, PositionIsKeptInTwipsBothWays) {
  // A window small enough for the test screen, which would pull the panel in.
  TestWindowModel model;
  model.window.visible = true;
  model.window.left = 1440;  // one logical inch
  model.window.top = 720;
  InputLog log;
  qt::WindowView view(model, log.sink());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const int dpi = view.logicalDpiX();
  EXPECT_EQ(view.pos(), QPoint(dpi, dpi / 2));

  view.move(2 * dpi, dpi);
  QCoreApplication::processEvents();
  const auto moves = log.of(EventKind::Move);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back().x, 2880);
  EXPECT_EQ(moves.back().y, 1440);
}

TEST(MainWindowViewTest, DisplayBoxesHandTheFocusToTheirScrollBars) {
  MainWindowModel model;
  model.forEachControl([](Control& c) { c.visible = true; });
  InputLog log;
  qt::MainWindowView view(model, log.sink());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  view.activateWindow();
  view.widget("txtBFO")->setFocus();
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), view.widget("vscBFO"));
}

TEST(MainWindowViewTest, MeterScaleIsAsWideAsTheBar) {
  MainWindowModel model;
  InputLog log;
  qt::MainWindowView view(model, log.sink());
  auto* scale = qobject_cast<QLabel*>(view.widget("lblMeterScale"));
  auto* bar = qobject_cast<QProgressBar*>(view.widget("pbMeter"));
  ASSERT_TRUE(scale && bar);
  EXPECT_TRUE(scale->font().fixedPitch());
  EXPECT_EQ(scale->width(), bar->width());
  EXPECT_EQ(bar->maximum(), 21);
}

}  // namespace
}  // namespace zr::test
