// The panel without a mouse and with a screen reader: the digit displays as
// single controls, what the accessibility layer reads from them, access
// keys, Escape on dialogs, and announcements.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <set>

#include "TestWindowModel.h"
#include "ui/MainWindowModel.h"
#include "ui/PortSetupWindowModel.h"
#include "ui/qt/MainWindowView.h"
#include "ui/qt/ViewSet.h"

namespace zr::test {
namespace {

void showDigits(MainWindowModel& model, const std::string& digits) {
  for (int i = 0; i < 7; ++i) model.cmdF[static_cast<std::size_t>(i)].caption = std::string(1, digits[i]);
}

class DigitDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    showDigits(model, "1425000");
    view = std::make_unique<qt::MainWindowView>(model, log.sink());
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    display = view->vfoADisplay();
    ASSERT_NE(display, nullptr);
  }
  // The presses and releases forwarded, as "down cmdF(6) 1".
  std::vector<std::string> presses() const {
    std::vector<std::string> out;
    for (const auto& e : log.events) {
      if (e.kind != EventKind::MouseDown && e.kind != EventKind::MouseUp) continue;
      out.push_back(std::string(e.kind == EventKind::MouseDown ? "down " : "up ") + e.control + "(" +
                    std::to_string(e.index) + ") " + std::to_string(e.button));
    }
    return out;
  }
  MainWindowModel model;
  InputLog log;
  std::unique_ptr<qt::MainWindowView> view;
  qt::DigitDisplay* display = nullptr;
};

TEST_F(DigitDisplayTest, ArrowKeysPressTheMarkedDigitAsTheMouseButtonsDo) {
  // It starts on the 10 Hz digit.
  QTest::keyPress(display, Qt::Key_Up);
  // Held: the key's own repeats are not new presses.
  QTest::keyPress(display, Qt::Key_Up, Qt::NoModifier, -1);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(display, &repeat);
  QTest::keyRelease(display, Qt::Key_Up);
  QTest::keyClick(display, Qt::Key_Left);
  QTest::keyClick(display, Qt::Key_Down);
  // Ten steps: the digit to the left, once.
  QTest::keyClick(display, Qt::Key_PageUp);
  QTest::keyClick(display, Qt::Key_Home);
  QTest::keyClick(display, Qt::Key_PageDown);  // nothing left of 10 MHz: a beep only
  QTest::keyClick(display, Qt::Key_Left);      // stays on the first digit
  QTest::keyClick(display, Qt::Key_Up);
  EXPECT_EQ(presses(), (std::vector<std::string>{"down cmdF(6) 1", "up cmdF(6) 1", "down cmdF(5) 2", "up cmdF(5) 2",
                                                 "down cmdF(4) 1", "up cmdF(4) 1", "down cmdF(0) 1",
                                                 "up cmdF(0) 1"}));
}

TEST_F(DigitDisplayTest, ADigitHeldByAKeyIsLetGoWhenTheFocusGoes) {
  view->activateWindow();
  display->setFocus();
  QTest::keyPress(display, Qt::Key_Down);
  view->vfoBDisplay()->setFocus();
  QCoreApplication::processEvents();
  QTest::keyRelease(display, Qt::Key_Down);  // arrives elsewhere or twice: no second release
  EXPECT_EQ(presses(), (std::vector<std::string>{"down cmdF(6) 2", "up cmdF(6) 2"}));
}

TEST_F(DigitDisplayTest, TypedFrequencyAndEnterGoToTheFirstDigitAsAChange) {
  QTest::keyClicks(display, "7O07");  // a letter is no part of a frequency
  QTest::keyClick(display, Qt::Key_Backspace);
  QTest::keyClicks(display, "7.5");
  EXPECT_EQ(display->entry(), "707.5");
  QTest::keyClick(display, Qt::Key_Return);
  QTest::keyClicks(display, "99");
  QTest::keyClick(display, Qt::Key_Escape);  // dropped
  QTest::keyClick(display, Qt::Key_Return);  // nothing typed: nothing sent
  const auto changes = log.of(EventKind::Change);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].control, "cmdF");
  EXPECT_EQ(changes[0].index, 0);
  EXPECT_EQ(changes[0].text.value_or(""), "707.5");
  EXPECT_TRUE(presses().empty());
}

TEST_F(DigitDisplayTest, ReadsAsOneValueThatFollowsTheDigits) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(display);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::SpinBox);
  EXPECT_EQ(iface->childCount(), 0);  // the digit buttons are parts of it
  EXPECT_TRUE(iface->text(QAccessible::Name).startsWith("VFO A frequency 14 250.00 kHz"))
      << iface->text(QAccessible::Name).toStdString();
  EXPECT_TRUE(iface->text(QAccessible::Name).contains("10 Hz digit"));
  EXPECT_EQ(iface->text(QAccessible::Value), "14 250.00 kHz");
  ASSERT_NE(iface->valueInterface(), nullptr);
  EXPECT_DOUBLE_EQ(iface->valueInterface()->currentValue().toDouble(), 14250.0);

  showDigits(model, "0707450");
  view->apply(model);
  EXPECT_EQ(iface->text(QAccessible::Value), "7 074.50 kHz");
  EXPECT_DOUBLE_EQ(iface->valueInterface()->currentValue().toDouble(), 7074.5);
  // With its step a reader speaks the hundredths, not "7074".
  EXPECT_DOUBLE_EQ(iface->valueInterface()->minimumStepSize().toDouble(), 0.01);
  QTest::keyClick(display, Qt::Key_Left);
  EXPECT_TRUE(iface->text(QAccessible::Name).contains("100 Hz digit"));
  // The move is said on the notification line too, as not every reader
  // speaks a name change.
  EXPECT_EQ(view->announcer()->text(), "100 Hz digit, 5");

  // A combo box's value is said when it gets the keyboard and when it
  // changes under it.
  auto* mode = view->findChild<QComboBox*>("cmbMode");
  ASSERT_NE(mode, nullptr);
  mode->addItems({"USB", "LSB"});
  mode->setCurrentIndex(0);
  mode->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(view->announcer()->text(), "USB");
  mode->setCurrentIndex(1);
  EXPECT_EQ(view->announcer()->text(), "LSB");
}

TEST(AccessibilityViewTest, MeterAndStateLabelsReadTheirValues) {
  MainWindowModel model;
  model.forEachControl([](Control& c) { c.visible = true; });
  InputLog log;
  qt::MainWindowView view(model, log.sink());
  model.optMeter[3].value = 1;
  model.lblMeterScale.caption = "0            25          50   100  150";
  model.pbMeter.value = 21;
  model.lblAmpPwr.caption = "ON";
  view.apply(model);
  QAccessibleInterface* meter = QAccessible::queryAccessibleInterface(view.widget("pbMeter"));
  EXPECT_EQ(meter->text(QAccessible::Name), "Meter, forward power, 150");
  EXPECT_EQ(meter->text(QAccessible::Value), "150");
  EXPECT_EQ(view.widget("lblAmpPwr")->accessibleName(), "Amplifier power state, ON");
  // Status labels are read as the text they show.
  model.lblXMTRCV.caption = "Transmit";
  view.apply(model);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(view.widget("lblXMTRCV"))->text(QAccessible::Name), "Transmit");
  // A list is read as its value, named by its label (on Linux, by relation).
  QAccessibleInterface* mode = QAccessible::queryAccessibleInterface(view.widget("cmbMode"));
  const auto labels = mode->relations(QAccessible::Label);
  QStringList labelNames;
  for (const auto& [iface, relation] : labels) labelNames << iface->text(QAccessible::Name);
  EXPECT_TRUE(labelNames.contains("Mode")) << labelNames.join('|').toStdString();
  // The activity shape is decoration.
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(view.widget("shaTrace"))->state().invisible);
}

TEST(AccessibilityViewTest, TabRunsThroughThePanelInTheOrderItShows) {
  MainWindowModel model;
  model.forEachControl([](Control& c) { c.visible = true; });
  InputLog log;
  qt::MainWindowView view(model, log.sink());
  view.show();
  view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  // The stops of Tab as Qt takes them, focus proxies included.
  auto tab = [](bool back = false) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    return QApplication::focusWidget();
  };
  view.vfoADisplay()->setFocus();
  EXPECT_EQ(tab(), view.vfoBDisplay());
  EXPECT_EQ(tab(), view.widget("cmbVFOBMode"));
  view.widget("cmdXmit")->setFocus();
  EXPECT_EQ(tab(), view.widget("cmdPTT"));
  // Round the whole panel and back to VFO A, each stop once: a loop in the
  // chain would hold the keyboard in part of the panel.
  view.vfoADisplay()->setFocus();
  std::vector<QWidget*> stops = {view.vfoADisplay()};
  for (QWidget* w = tab(); w && w != stops.front() && stops.size() < 200; w = tab()) stops.push_back(w);
  EXPECT_EQ(QApplication::focusWidget(), stops.front()) << stops.back()->objectName().toStdString();
  EXPECT_EQ(std::set<QWidget*>(stops.begin(), stops.end()).size(), stops.size());
  for (const char* id : {"cmd20M", "vscRFG", "vscBFO", "txtInData", "cmbMode"})
    EXPECT_NE(std::find(stops.begin(), stops.end(), view.widget(id)), stops.end()) << id;
  // Shift+Tab takes the same stops the other way.
  std::vector<QWidget*> back = {stops.front()};
  while (back.size() < stops.size()) back.push_back(tab(true));
  EXPECT_TRUE(std::equal(back.begin() + 1, back.end(), stops.rbegin(), stops.rend() - 1));
  // The digit buttons and separators are not stops of their own.
  for (const char* id : {"cmdF(3)", "Command1", "cmdVFOB(0)", "cmdM(1)"})
    EXPECT_EQ(view.findChild<QWidget*>(id)->focusPolicy(), Qt::NoFocus) << id;
}

TEST(AccessibilityViewTest, ViewsGetAccessKeysThatFollowTheirCaptions) {
  InputLog log;
  qt::ViewSet views(log.sink());
  MainWindowModel model;
  model.forEachControl([](Control& c) { c.visible = true; });
  auto& main = views.add(model);
  auto text = [&](const char* id) { return qobject_cast<QAbstractButton*>(main.findChild<QWidget*>(id))->text(); };
  EXPECT_EQ(text("cmdXmit"), "&XMT ON");  // its own
  EXPECT_EQ(text("Command1"), ",");       // no letter, no key
  EXPECT_EQ(text("cmdF(0)"), "0");
  EXPECT_EQ(text("cmdMute"), "SP&KR");  // S went to the Scan menu, P to PTT En
  // A caption the engine changes keeps its letter where it can.
  model.cmdMute.caption = "SPKR OFF";
  main.apply(model);
  EXPECT_EQ(text("cmdMute"), "SP&KR OFF");

  std::set<QChar> keys;
  for (auto* b : main.findChildren<QAbstractButton*>()) {
    const int at = b->text().indexOf('&');
    if (at < 0 || at + 1 >= b->text().size() || !b->isVisibleTo(&main)) continue;
    EXPECT_TRUE(keys.insert(b->text()[at + 1].toUpper()).second) << b->text().toStdString();
  }
  EXPECT_FALSE(keys.count('I'));  // the knob's keys
  EXPECT_FALSE(keys.count('D'));
}

TEST(AccessibilityViewTest, EscapeClosesADialogAsItsCloseBoxDoes) {
  InputLog log;
  qt::ViewSet views(log.sink());
  MainWindowModel main;
  views.add(main);
  PortSetupWindowModel port;
  port.window.visible = true;
  auto& dialog = views.add(port);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::keyClick(&dialog, Qt::Key_Escape);
  const auto closes = log.of(EventKind::Close);
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0].window, "frmPortSetup");
  // The main window is no dialog: Escape there closes nothing.
  QTest::keyClick(views.mainView(), Qt::Key_Escape);
  EXPECT_EQ(log.of(EventKind::Close).size(), 1u);

  // Disabled under a dialog and enabled again when it closes, the main
  // window has the keyboard where it was, not nowhere.
  qt::WindowView& panel = *views.mainView();
  QWidget* mode = panel.widget("cmbMode");
  mode->setFocus();
  ASSERT_EQ(panel.focusWidget(), mode);
  main.window.enabled = false;
  panel.apply(main);
  EXPECT_NE(panel.focusWidget(), mode);
  main.window.enabled = true;
  panel.apply(main);
  EXPECT_EQ(panel.focusWidget(), mode);
}

TEST(AccessibilityViewTest, ChangesAreAnnouncedFromTheMainWindow) {
  InputLog log;
  qt::ViewSet views(log.sink());
  auto model = std::make_shared<MainWindowModel>();
  Snapshot first;
  first.windows.push_back(model);
  views.apply(first);
  auto* main = dynamic_cast<qt::MainWindowView*>(views.mainView());
  ASSERT_NE(main, nullptr);
  auto keyed = std::make_shared<MainWindowModel>(*model);
  keyed->lblXMTRCV.caption = "Transmit";
  keyed->lblInBand.caption = "Out Of Band";
  Snapshot second;
  second.windows.push_back(keyed);
  views.apply(second);
  EXPECT_EQ(main->announcer()->text(), "Transmit. Out Of Band");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(main->announcer())->role(), QAccessible::Notification);
}

}  // namespace
}  // namespace zr::test
