// The bridge: snapshots from the engine thread, blocking dialogs, file filters.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "TestWindowModel.h"
#include "ui/qt/FileDialogs.h"
#include "lists/ChannelSetupWindowModel.h"
#include "ui/MainWindowModel.h"
#include "ui/qt/QtHost.h"
#include "ui/qt/ViewSet.h"

namespace zr::test {
namespace {

std::shared_ptr<const Snapshot> snapshotWithCaption(const std::string& caption) {
  auto model = std::make_shared<TestWindowModel>();
  model->lblA.caption = caption;
  auto s = std::make_shared<Snapshot>();
  s->windows.push_back(model);
  return s;
}

TEST(QtHostTest, DrawsOnlyTheLatestOfSnapshotsPublishedMeanwhile) {
  qt::QtHost host;
  std::vector<std::string> drawn;
  std::thread::id drawThread;
  host.onSnapshot([&](const Snapshot& s) {
    drawThread = std::this_thread::get_id();
    drawn.push_back(s.find("frmTest")->find("lblA")->caption);
  });
  std::thread engine([&] {
    for (const char* caption : {"one", "two", "three"}) host.publish(snapshotWithCaption(caption));
  });
  engine.join();
  EXPECT_TRUE(drawn.empty());  // nothing is drawn on the engine thread
  QCoreApplication::processEvents();
  ASSERT_EQ(drawn, std::vector<std::string>{"three"});
  EXPECT_EQ(drawThread, std::this_thread::get_id());

  host.publish(snapshotWithCaption("four"));
  QCoreApplication::processEvents();
  EXPECT_EQ(drawn.back(), "four");
}

// The dialog runs in a nested event loop on this thread, so the operator's
// answer has to come from a timer inside that loop.
template <class Answer>
void answerWhenModal(QTimer& timer, Answer answer) {
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&timer, answer] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer.stop();
      answer(modal);
    }
  });
  timer.start();
}

TEST(QtHostTest, MessageBoxBlocksTheEngineUntilOk) {
  qt::QtHost host;
  std::atomic<bool> returned = false;
  bool returnedBeforeOk = true;
  QString title, text;
  QMessageBox::StandardButtons buttons;
  QTimer timer;
  answerWhenModal(timer, [&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    buttons = box->standardButtons();
    QTest::qWait(50);
    returnedBeforeOk = returned;
    box->button(QMessageBox::Ok)->click();
  });
  std::thread engine([&] {
    host.messageBox("Port is not available.", "");
    returned = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }));
  engine.join();
  EXPECT_FALSE(returnedBeforeOk);
  EXPECT_EQ(title, QCoreApplication::applicationName());
  EXPECT_EQ(text, "Port is not available.");
  EXPECT_EQ(buttons, QMessageBox::Ok);
}

TEST(QtHostTest, CancelledFileDialogReturnsNothing) {
  qt::QtHost host;
  std::optional<std::string> chosen = "not yet";
  std::atomic<bool> returned = false;
  QTimer timer;
  answerWhenModal(timer, [&](QWidget*) { host.cancelDialogs(); });
  FileDialogRequest request;
  request.save = true;
  request.title = "Save Channels";
  std::thread engine([&] {
    chosen = host.fileDialog(request);
    returned = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }));
  engine.join();
  EXPECT_FALSE(chosen.has_value());
}

TEST(QtHostTest, FileDialogShowsTheRequestedFilterTitleAndDefaultExtension) {
  qt::QtHost host;
  QStringList filters;
  QString selected, suffix, title;
  std::atomic<bool> returned = false;
  QTimer timer;
  answerWhenModal(timer, [&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    filters = dialog->nameFilters();
    selected = dialog->selectedNameFilter();
    suffix = dialog->defaultSuffix();
    title = dialog->windowTitle();
    host.cancelDialogs();
  });
  FileDialogRequest request;
  request.save = true;
  request.title = "Select the Destination File.";
  request.filter = "All Files|*.*|Text Files|*.txt|";
  request.filterIndex = 2;
  request.defaultExt = "txt";
  std::thread engine([&] {
    host.fileDialog(request);
    returned = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }));
  engine.join();
  EXPECT_EQ(filters, (QStringList{"All Files (*)", "Text Files (*.txt)"}));
  EXPECT_EQ(selected, "Text Files (*.txt)");
  EXPECT_EQ(suffix, "txt");
  EXPECT_EQ(title, "Select the Destination File.");
}

// Under a window manager a dialog stays above its parent only: a file
// dialog asked for by Channel Setup must belong to Channel Setup, not to
// the main window it disables.
TEST(QtHostTest, MessageBoxesAndFileDialogsBelongToTheModalWindowOnTop) {
  InputLog log;
  qt::ViewSet views(log.sink());
  auto main = std::make_shared<MainWindowModel>();
  main->window.visible = true;
  auto channels = std::make_shared<ChannelSetupWindowModel>();
  Snapshot snapshot;
  snapshot.windows = {main, channels};
  views.apply(snapshot);
  qt::QtHost host;
  host.setDialogParent(views.mainView());
  EXPECT_EQ(host.dialogOwner(), views.mainView());

  auto disabled = std::make_shared<MainWindowModel>(*main);
  disabled->window.enabled = false;
  auto shown = std::make_shared<ChannelSetupWindowModel>(*channels);
  shown->window.visible = true;
  snapshot.windows = {disabled, shown};
  views.apply(snapshot);
  QWidget* channelView = views.find(shown->name());
  ASSERT_NE(channelView, nullptr);
  EXPECT_EQ(host.dialogOwner(), channelView);

  std::vector<QWidget*> owners;
  QTimer timer, timer2;
  auto answer = [&](QWidget* modal) {
    owners.push_back(modal->parentWidget());
    host.cancelDialogs();
  };
  std::atomic<bool> returned = false;
  answerWhenModal(timer, answer);
  std::thread engine([&] {
    host.fileDialog(FileDialogRequest{});
    returned = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }));
  engine.join();
  returned = false;
  answerWhenModal(timer2, answer);
  std::thread engine2([&] {
    host.messageBox("Err 76.", "");
    returned = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }));
  engine2.join();
  EXPECT_EQ(owners, (std::vector<QWidget*>{channelView, channelView}));

  // Closed again: the main window owns what comes next.
  snapshot.windows = {main, channels};
  views.apply(snapshot);
  EXPECT_EQ(host.dialogOwner(), views.mainView());
}

TEST(QtHostTest, HelpForAMissingFileSaysSoInOurOwnWindow) {
  qt::QtHost host;
  std::thread engine([&] { host.openHelp("NoSuchHelp.hlp"); });
  engine.join();
  QCoreApplication::processEvents();
  QPlainTextEdit* text = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == "NoSuchHelp.hlp") text = w->findChild<QPlainTextEdit*>();
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->toPlainText().contains("NoSuchHelp.hlp was not found"));
}

TEST(FileFilterTest, AlternatingDescriptionsAndPatternsBecomeQtFilters) {
  EXPECT_EQ(qt::toQtNameFilters("Text files (*.txt)|*.txt|All files (*.*)|*.*"),
            (QStringList{"Text files (*.txt)", "All files (*)"}));
  EXPECT_EQ(qt::toQtNameFilters("Channels|*.chn;*.txt"), QStringList{"Channels (*.chn *.txt)"});
  EXPECT_EQ(qt::toQtNameFilters("Anything"), QStringList{"Anything (*)"});
  // A trailing "|" closes the last pair; it adds no entry.
  EXPECT_EQ(qt::toQtNameFilters("All Files|*.*|Text Files|*.txt|"),
            (QStringList{"All Files (*)", "Text Files (*.txt)"}));
  EXPECT_EQ(qt::toQtNameFilters("Text files|*.txt"), QStringList{"Text files (*.txt)"});
  EXPECT_TRUE(qt::toQtNameFilters("").isEmpty());
}

}  // namespace
}  // namespace zr::test
