// The zr3817 panel: the engine runs the program on its own thread; this
// thread runs Qt, draws the engine's snapshots and forwards the operator.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string_view>
#include <thread>

#include "AppOptions.h"
#include "LastResort.h"
#include "SignalBridge.h"
#include "version/Version.h"
#include "cat/CatPort.h"
#include "core/Clock.h"
#include "core/Panel.h"
#include "core/MainMenus.h"
#include "core/RadioLink.h"
#include "core/WorkDir.h"
#include "core/serial/PortMapping.h"
#include "core/serial/PosixPortProbe.h"
#include "core/serial/PosixSerialPort.h"
#include "netctl/PanelRigBackend.h"
#include "netctl/RigServer.h"
#include "setup/TxTimeoutSetup.h"
#include "lists/BandSelectWindowModel.h"
#include "panel/Channels.h"
#include "setup/CatSetupDialog.h"
#include "setup/PortSetupDialog.h"
#include "setup/SerialDevices.h"
#include "setup/CatDialectSetup.h"
#include "ui/qt/QtHost.h"
#include "ui/qt/ViewSet.h"

namespace {

// How long an orderly close may take before the engine is told to stop
// where it stands (a modal window can keep a Close from being served).
constexpr int kCloseGraceMs = 5000;

zr::InputEvent closeMainWindow() {
  zr::InputEvent e;
  e.window = zr::qt::ViewSet::mainWindowName;
  e.kind = zr::EventKind::Close;
  return e;
}

bool wantsHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "-h" || a == "--help" || a == "--help-all" || a == "-v" || a == "--version") return true;
  }
  return false;
}

// The main window, with an open band list where it stands beside it.
QPixmap picture(const zr::qt::ViewSet& views) {
  QWidget* main = views.mainView();
  QWidget* band = views.find(zr::BandSelectWindowModel::kName);
  if (!band || !band->isVisible()) return main->grab();
  const QRect area = main->geometry().united(band->geometry());
  QPixmap canvas(area.size());
  canvas.fill(Qt::white);
  QPainter painter(&canvas);
  for (QWidget* w : {main, band}) painter.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
  return canvas;
}

// The band button of a band key, for the demonstration option.
const char* bandButton(const QString& key) {
  const auto& keys = zr::Channels::kBandKeys;
  const auto it = std::find_if(keys.begin(), keys.end(), [&](const char* k) { return key == QLatin1String(k); });
  return it == keys.end() ? nullptr : zr::Channels::kBandButtons[static_cast<std::size_t>(it - keys.begin())];
}

}  // namespace

int main(int argc, char** argv) {
  // First, so it outlasts everything else of this thread.
  const zr::app::ThreadSignalStack signalStack;
  QCoreApplication::setApplicationName("zr3817");
  QCoreApplication::setApplicationVersion(ZR_VERSION);
  if (wantsHelp(argc, argv)) {
    // Help needs no display.
    QCoreApplication app(argc, argv);
    zr::app::parseOptions(app);
    return 0;
  }
  QApplication app(argc, argv);
  // The engine decides when the program ends, not the last window.
  QApplication::setQuitOnLastWindowClosed(false);
  const zr::app::AppOptions options = zr::app::parseOptions(app);
  const char* openBand = options.openBand.isEmpty() ? nullptr : bandButton(options.openBand);
  if (!options.openBand.isEmpty() && !openBand) {
    std::fprintf(stderr, "zr3817: --band needs a band key such as 40 or WWV, not \"%s\"\n", qPrintable(options.openBand));
    return 2;
  }
  // Paths on the command line mean where the operator stood, not the
  // working directory the panel moves into.
  const QString screenshotFile =
      options.screenshotFile.isEmpty() ? QString() : QDir::current().absoluteFilePath(options.screenshotFile);
  if (!options.workDir.isEmpty()) {
    if (const std::string failure = zr::enterWorkDir(options.workDir.toStdString()); !failure.empty()) {
      std::fprintf(stderr, "zr3817: %s\n", failure.c_str());
      return 2;
    }
  }

  zr::SystemClock clock;
  zr::PosixSerialPort radio;
  zr::PosixSerialPort cat;
  zr::PosixPortProbe probe;
  zr::qt::QtHost host;
  zr::Panel panel(clock, host, radio, cat, probe);
  panel.describePort = [](int n) { return zr::describeSerialPort(n); };
  panel.menus().portSetup().setDeviceLister([] { return zr::listSerialDevices(); });
  panel.menus().catSetup().setDeviceLister([] { return zr::listSerialDevices(); });

  // Station programs on the network: off unless the settings file or the
  // command line switches the server on.
  zr::PanelRigBackend rigBackend(panel);
  zr::RigServer rigServer(rigBackend);
  panel.restartRigServer = [&rigServer](const zr::RigServerSetup& setup) {
    rigServer.stop();
    if (!setup.enabled) return std::string("Network rig server off");
    if (auto failure = rigServer.start(setup.address, setup.port))
      return "Network rig server failed: " + *failure;
    return "Network rig server on " + zr::describeRigServer(setup);
  };
  {
    std::string problem;
    zr::RigServerSetup setup = zr::readRigServerSetup(problem);
    if (options.rigServerPort != 0) {
      setup.enabled = true;
      setup.port = options.rigServerPort;
    }
    if (!options.rigServerAddress.isEmpty()) setup.address = options.rigServerAddress.toStdString();
    panel.settings.rigServer = setup;
    const std::string status = panel.restartRigServer(setup);
    panel.frm.lblRigServer.caption = problem.empty() ? status : problem;
    if (setup.enabled || !problem.empty()) std::fprintf(stderr, "zr3817: %s\n", panel.frm.lblRigServer.caption.c_str());
  }

  {
    std::string problem;
    panel.settings.txTimeoutSeconds = zr::readTxTimeoutSetup(problem);
    if (!problem.empty()) std::fprintf(stderr, "zr3817: %s\n", problem.c_str());
    if (options.txTimeoutSeconds >= 0) panel.settings.txTimeoutSeconds = options.txTimeoutSeconds;
  }
  {
    std::string problem;
    bool kenwood = zr::readCatDialect(problem);
    if (!problem.empty()) std::fprintf(stderr, "zr3817: %s\n", problem.c_str());
    if (options.catKenwoodDialect >= 0) kenwood = options.catKenwoodDialect == 1;
    panel.cat().setKenwoodDialect(kenwood);
  }

  zr::qt::ViewSet views([&panel](zr::InputEvent e) { panel.engine.post(std::move(e)); });
  host.onSnapshot([&views](const zr::Snapshot& s) { views.apply(s); });
  host.onQuit([&views] {
    views.closeAll();
    QCoreApplication::quit();
  });
  // The engine has not started yet, so its model may be read here.
  views.add(panel.frm);
  host.setDialogParent(views.mainView());

  // From here on a crash or a vanished display still unkeys the radio.
  panel.link().armLastResort();
  zr::app::installLastResortUnkey();

  auto forceStop = [&] {
    panel.engine.requestQuit();
    host.cancelDialogs();
  };
  // First request: the same Close as File > Exit; a message box or file
  // dialog the engine waits on is ended so the close can be served. Again,
  // or no answer: stop.
  bool closing = false;
  auto stop = [&] {
    if (closing) {
      forceStop();
      return;
    }
    closing = true;
    panel.engine.post(closeMainWindow());
    host.cancelDialogs();
    QTimer::singleShot(kCloseGraceMs, &app, forceStop);
  };
  zr::app::SignalBridge signalBridge;
  QObject::connect(&signalBridge, &zr::app::SignalBridge::terminationRequested, &app, stop);

  if (openBand) {
    QTimer::singleShot(static_cast<int>(options.screenshotDelaySeconds * 500), &app, [&panel, openBand] {
      zr::InputEvent press;
      press.window = zr::qt::ViewSet::mainWindowName;
      press.control = openBand;
      panel.engine.post(press);
    });
  }
  if (!screenshotFile.isEmpty()) {
    QTimer::singleShot(static_cast<int>(options.screenshotDelaySeconds * 1000), &app, [&] {
      const QString& file = screenshotFile;
      if (views.mainView() && picture(views).save(file, "PNG"))
        std::fprintf(stderr, "zr3817: screenshot saved to %s\n", qPrintable(file));
      else
        std::fprintf(stderr, "zr3817: could not save the screenshot to %s\n", qPrintable(file));
      // An open band list holds the main window disabled: close it first.
      zr::InputEvent closeBand;
      closeBand.window = zr::BandSelectWindowModel::kName;
      closeBand.kind = zr::EventKind::Close;
      panel.engine.post(closeBand);
      stop();
    });
  }

  std::thread engine([&] {
    const zr::app::ThreadSignalStack signalStack;
    try {
      panel.run();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "zr3817: the engine stopped: %s\n", e.what());
    }
    host.quit();
  });

  const int status = app.exec();
  panel.engine.requestQuit();
  engine.join();
  rigServer.stop();
  return status;
}
