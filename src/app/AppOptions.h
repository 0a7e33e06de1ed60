#pragma once
// Command-line options of the panel. The program itself takes none; these
// exist for the demo and for documentation screenshots.
#include <QString>

class QCoreApplication;

namespace zr::app {

struct AppOptions {
  QString screenshotFile;  // empty: no screenshot
  double screenshotDelaySeconds = 4.0;
  QString openBand;  // band key whose list opens before the picture; empty: none
};

// Parses the command line; prints help or an error and exits on --help,
// --version or a bad option.
AppOptions parseOptions(const QCoreApplication& app);

}  // namespace zr::app
