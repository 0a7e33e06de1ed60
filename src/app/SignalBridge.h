#pragma once
// SIGTERM, SIGINT, SIGHUP and SIGQUIT as a Qt signal on the GUI thread. The
// handler only writes a byte to a pipe; everything else happens in the
// event loop.
#include <QObject>

class QSocketNotifier;

namespace zr::app {

class SignalBridge : public QObject {
  Q_OBJECT

 public:
  explicit SignalBridge(QObject* parent = nullptr);
  ~SignalBridge() override;

 signals:
  // Once per signal received.
  void terminationRequested();

 private:
  void drain();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zr::app
