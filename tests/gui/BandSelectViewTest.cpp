// The band list window's view: its rows inside the band frame. Where it
// opens is in PlacementTest.
#include <gtest/gtest.h>

#include <QTest>

#include "TestWindowModel.h"
#include "lists/BandSelectWindowModel.h"
#include "ui/qt/BandSelectView.h"

namespace zr::test {
namespace {

TEST(BandSelectViewTest, TheRowsAreTheBandFramesTopToBottom) {
  InputLog log;
  BandSelectWindowModel model;
  model.window.visible = true;
  qt::BandSelectView view(model, log.sink());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const QWidget* rows = view.widget("fraBand");
  int lastY = -1;
  for (int i = 0; i < BandSelectWindowModel::kRows; ++i) {
    const QWidget* freq = view.widget("txtFreq", i);
    ASSERT_TRUE(freq && rows->isAncestorOf(freq)) << i;
    EXPECT_GT(freq->mapTo(rows, QPoint()).y(), lastY);
    lastY = freq->mapTo(rows, QPoint()).y();
  }
}

}  // namespace
}  // namespace zr::test
