#pragma once
// The desktop services of the engine, given by the Qt GUI thread. Engine-thread
// calls never touch a widget: they hand the work to the GUI thread, and the
// blocking ones (message box, file dialog) wait there for the operator.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <mutex>

#include "core/Host.h"

class QDialog;
class QWidget;

namespace zr::qt {

class HelpWindow;

class QtHost : public QObject, public Host {
  Q_OBJECT

 public:
  explicit QtHost(QObject* parent = nullptr);
  ~QtHost() override;

  // GUI thread: where snapshots are drawn, what ending does (default: quit
  // the application), and the main window, which owns the other windows.
  void onSnapshot(std::function<void(const Snapshot&)> draw) { draw_ = std::move(draw); }
  void onQuit(std::function<void()> quit) { quit_ = std::move(quit); }
  void setDialogParent(QWidget* parent);
  // GUI thread: what a message box or file dialog belongs to now, so it
  // stays over the window that asked: the modal window on top, else the
  // main window.
  QWidget* dialogOwner() const;
  // GUI thread: close a dialog the engine waits on, as if cancelled.
  void cancelDialogs();

  // Engine thread.
  void publish(std::shared_ptr<const Snapshot> snapshot) override;
  void beep() override;
  void messageBox(const std::string& text, const std::string& title) override;
  std::optional<std::string> fileDialog(const FileDialogRequest& request) override;
  void openHelp(const std::string& file) override;
  void quit() override;

 private:
  void drawLatest();
  void onGui(std::function<void()> work);
  void onGuiAndWait(const std::function<void()>& work);
  int runDialog(QDialog& dialog);

  std::mutex mutex_;
  std::shared_ptr<const Snapshot> latest_;
  bool drawPending_ = false;
  bool guiGone_ = false;

  std::function<void(const Snapshot&)> draw_;
  std::function<void()> quit_;
  QPointer<QWidget> dialogParent_;
  QPointer<QDialog> activeDialog_;
  QPointer<HelpWindow> help_;
};

}  // namespace zr::qt
