#pragma once
// Command-line options of the panel: its working directory, the network rig
// server, the transmit time-out, and options for the demo and for
// documentation screenshots.
#include <QString>

class QCoreApplication;

namespace zr::app {

struct AppOptions {
  QString screenshotFile;  // empty: no screenshot
  double screenshotDelaySeconds = 4.0;
  int rigServerPort = 0;      // 0: as the settings file says
  QString rigServerAddress;   // empty: as the settings file says
  int txTimeoutSeconds = -1;  // -1: as the settings file says; 0: no limit
  // The CAT port's dialect: 1 Kenwood, 0 FA and MD only, -1 as the settings file says.
  int catKenwoodDialect = -1;
  QString openBand;  // band key whose list opens before the picture; empty: none
  // The directory to work in (settings, lists, COMn links, the lock); empty:
  // the current directory.
  QString workDir;
};

// Parses the command line; prints help or an error and exits on --help,
// --version or a bad option.
AppOptions parseOptions(const QCoreApplication& app);

}  // namespace zr::app
