#include "AppOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace zr::app {

AppOptions parseOptions(const QCoreApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Front panel of the ZR-3817 HF transceiver.\n"
      "Runs in the current directory: settings files are read and written there,\n"
      "and serial port n is the device COMn there when it exists, else /dev/ttyS<n-1>.\n"
      "The options below are for demonstrations only.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption screenshot("screenshot", "Save a PNG picture of the main window to <file>, then exit.",
                                      "file");
  const QCommandLineOption delay("screenshot-delay", "Seconds to wait before the picture (default 4).", "seconds",
                                 "4");
  const QCommandLineOption band("band",
                                "Open the band list of <key> (160, 75, 60, 40, 30, 20, 17, 15, 12, 10, WWV, MARS) "
                                "after half the screenshot delay.",
                                "key");
  parser.addOption(screenshot);
  parser.addOption(delay);
  parser.addOption(band);
  parser.process(app);

  AppOptions options;
  options.screenshotFile = parser.value(screenshot);
  options.openBand = parser.value(band);
  bool ok = false;
  options.screenshotDelaySeconds = parser.value(delay).toDouble(&ok);
  if (!ok || options.screenshotDelaySeconds < 0) {
    std::fprintf(stderr, "zr3817: --screenshot-delay needs a number of seconds, not \"%s\"\n",
                 qPrintable(parser.value(delay)));
    std::exit(2);
  }
  return options;
}

}  // namespace zr::app
