// The scanners' windows as laid out from their tables.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "TestWindowModel.h"
#include "lists/ScanBandsWindowModel.h"
#include "lists/ScanFreqsWindowModel.h"
#include "ui/qt/TableLayoutView.h"

namespace zr::test {
namespace {

QPoint centre(const QWidget* w) { return w->mapTo(w->window(), w->rect().center()); }

std::unique_ptr<qt::TableLayoutView> viewOf(WindowModel& model, InputLog& log) {
  model.window.visible = true;
  const auto* table = qt::TableLayoutView::layoutFor(model.name());
  EXPECT_NE(table, nullptr);
  auto view = std::make_unique<qt::TableLayoutView>(model, *table, log.sink());
  EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  return view;
}

TEST(ScannerViewsTest, ScanListRowsReadAcrossAndScanAndStopShareAPlace) {
  ScanFreqsWindowModel model;
  InputLog log;
  auto view = viewOf(model, log);
  int lastY = -1;
  for (int i = 0; i < 13; ++i) {
    const QWidget* row[] = {view->widget("Check1", i), view->widget("txtFreq", i), view->widget("txtMode", i),
                            view->widget("txtInfo", i)};
    for (int k = 1; k < 4; ++k) {
      EXPECT_NEAR(centre(row[k]).y(), centre(row[0]).y(), 4) << i;
      EXPECT_GT(centre(row[k]).x(), centre(row[k - 1]).x()) << i;
    }
    EXPECT_GT(centre(row[0]).y(), lastY);
    lastY = centre(row[0]).y();
  }
  EXPECT_GT(view->widget("txtInfo", 0)->width(), view->widget("txtFreq", 0)->width());

  const QPoint scanAt = centre(view->widget("cmdScan"));
  model.cmdScan.visible = false;
  model.cmdStop.visible = true;
  view->apply(model);
  QCoreApplication::processEvents();
  EXPECT_EQ(centre(view->widget("cmdStop")), scanAt);
}

TEST(ScannerViewsTest, BandButtonsSitBesideTheLimitsThreeToARow) {
  ScanBandsWindowModel model;
  InputLog log;
  auto view = viewOf(model, log);
  const char* bands[] = {"cmd160M", "cmd75M", "cmd40M", "cmd30M", "cmd20M", "cmd17M", "cmd15M", "cmd12M", "cmd10M"};
  for (int i = 0; i < 9; ++i) {
    const QWidget* b = view->widget(bands[i]);
    ASSERT_NE(b, nullptr);
    EXPECT_GT(centre(b).x(), centre(view->widget("Label3", 0)).x()) << bands[i];
    if (i % 3) {
      EXPECT_NEAR(centre(b).y(), centre(view->widget(bands[i - i % 3])).y(), 2) << bands[i];
    }
  }
  EXPECT_NEAR(centre(view->widget("txtScanLow")).y(), centre(view->widget("cmd160M")).y(), 6);
  EXPECT_EQ(view->widget("Option1", 2)->parentWidget(), view->widget("Frame1"));
  EXPECT_EQ(view->widget("Option2", 1)->parentWidget(), view->widget("Frame2"));
}

}  // namespace
}  // namespace zr::test
