#include "ui/qt/QtHost.h"

#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QThread>

#include "ui/qt/FileDialogs.h"
#include "ui/qt/HelpWindow.h"

namespace zr::qt {

QtHost::QtHost(QObject* parent) : QObject(parent) {
  // After the event loop has gone nothing would answer a blocking call.
  connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
    std::lock_guard lock(mutex_);
    guiGone_ = true;
  });
}

QtHost::~QtHost() {
  if (help_) delete help_;
}

void QtHost::setDialogParent(QWidget* parent) { dialogParent_ = parent; }

QWidget* QtHost::dialogOwner() const {
  // A modal window disables its owner's contents, not the owner itself
  // (Qt would disable what the owner holds as well): the window on top is
  // the visible one over the main window whose contents take input.
  if (!dialogParent_) return nullptr;
  for (QWidget* child : dialogParent_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    auto* window = qobject_cast<QMainWindow*>(child);
    if (window && window->isWindow() && window->isVisible() && window->centralWidget() &&
        window->centralWidget()->isEnabled())
      return window;
  }
  return dialogParent_;
}

void QtHost::publish(std::shared_ptr<const Snapshot> snapshot) {
  bool post = false;
  {
    std::lock_guard lock(mutex_);
    latest_ = std::move(snapshot);
    post = !drawPending_;
    drawPending_ = true;
  }
  // One queued draw at a time; it takes whatever is latest when it runs.
  if (post) QMetaObject::invokeMethod(this, &QtHost::drawLatest, Qt::QueuedConnection);
}

void QtHost::drawLatest() {
  std::shared_ptr<const Snapshot> snapshot;
  {
    std::lock_guard lock(mutex_);
    snapshot = std::move(latest_);
    drawPending_ = false;
  }
  if (snapshot && draw_) draw_(*snapshot);
}

void QtHost::onGui(std::function<void()> work) {
  QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void QtHost::onGuiAndWait(const std::function<void()>& work) {
  if (QThread::currentThread() == thread()) {
    work();
    return;
  }
  {
    std::lock_guard lock(mutex_);
    if (guiGone_) return;
  }
  QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
}

int QtHost::runDialog(QDialog& dialog) {
  activeDialog_ = &dialog;
  const int result = dialog.exec();
  activeDialog_ = nullptr;
  return result;
}

void QtHost::cancelDialogs() {
  if (activeDialog_) activeDialog_->reject();
}

void QtHost::beep() {
  onGui([] { QApplication::beep(); });
}

void QtHost::messageBox(const std::string& text, const std::string& title) {
  onGuiAndWait([&] {
    const QString caption = title.empty() ? QCoreApplication::applicationName() : QString::fromStdString(title);
    QMessageBox box(QMessageBox::NoIcon, caption, QString::fromStdString(text), QMessageBox::Ok, dialogOwner());
    runDialog(box);
  });
}

std::optional<std::string> QtHost::fileDialog(const FileDialogRequest& request) {
  std::optional<std::string> chosen;
  onGuiAndWait([&] {
    QFileDialog dialog(dialogOwner(), QString::fromStdString(request.title), QString::fromStdString(request.initialDir));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = toQtNameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
      dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.defaultExt.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.defaultExt));
    if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    if (runDialog(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      chosen = dialog.selectedFiles().first().toStdString();
  });
  return chosen;
}

void QtHost::openHelp(const std::string& file) {
  onGui([this, name = QString::fromStdString(file)] {
    if (!help_) help_ = new HelpWindow(dialogParent_);
    help_->showFile(name);
  });
}

void QtHost::quit() {
  onGui([this] {
    if (quit_) quit_();
    else QCoreApplication::quit();
  });
}

}  // namespace zr::qt
