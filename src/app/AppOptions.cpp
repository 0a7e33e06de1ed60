#include "AppOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

#include "core/WorkDir.h"
#include "setup/RigServerSetup.h"
#include "setup/TxTimeoutSetup.h"

namespace zr::app {

AppOptions parseOptions(const QCoreApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Front panel of the ZR-3817 HF transceiver.\n"
      "Runs in the current directory, or the one --dir or --user-dir names: settings files\n"
      "are read and written there, and serial port n is the device COMn there when it\n"
      "exists, else /dev/ttyS<n-1>.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption rigServer(
      "rig-server",
      "Let station programs control the radio over the network rig-control protocol on TCP <port> "
      "(4532 is the port they expect), from this computer only (127.0.0.1 and ::1).",
      "port");
  const QCommandLineOption rigServerAddress(
      "rig-server-address",
      "Listen on <address> instead of this computer only. WARNING: anyone who can reach that address can "
      "tune the radio and key the transmitter; the protocol has no password. Use it only on a network you "
      "trust, never on one connected to the internet.",
      "address");
  const QCommandLineOption txTimeout(
      "tx-timeout",
      "Unkey any transmission that has lasted <seconds> without a break (0 = never, at most 3600; "
      "default as saved by Setup > Transmit Time-out, else 600).",
      "seconds");
  const QCommandLineOption dir("dir", "Work in <directory> (created when missing) instead of the current one.",
                               "directory");
  const QCommandLineOption userDir(
      "user-dir", "Work in the per-user directory $XDG_CONFIG_HOME/zr3817 (~/.config/zr3817), created when missing.");
  const QCommandLineOption catDialect(
      "cat-dialect",
      "The serial CAT port speaks <dialect>: kenwood (a full Kenwood TS-2000-class dialect: ID, IF, FA, FB, MD, "
      "FR, FT, TX, RX, AI, PS) or basic (FA and MD only, the default). Overrides CAT Setup's choice.",
      "dialect");
  const QCommandLineOption screenshot("screenshot",
                                      "Demonstrations: save a PNG picture of the main window to <file>, then exit.",
                                      "file");
  const QCommandLineOption delay("screenshot-delay", "Seconds to wait before the picture (default 4).", "seconds",
                                 "4");
  const QCommandLineOption band("band",
                                "Open the band list of <key> (160, 75, 60, 40, 30, 20, 17, 15, 12, 10, WWV, MARS) "
                                "after half the screenshot delay.",
                                "key");
  parser.addOption(dir);
  parser.addOption(userDir);
  parser.addOption(rigServer);
  parser.addOption(rigServerAddress);
  parser.addOption(txTimeout);
  parser.addOption(catDialect);
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
  if (parser.isSet(rigServer)) {
    options.rigServerPort = parseRigServerPort(parser.value(rigServer).toStdString());
    if (options.rigServerPort == 0) {
      std::fprintf(stderr, "zr3817: --rig-server needs a TCP port number from 1 to 65535, not \"%s\"\n",
                   qPrintable(parser.value(rigServer)));
      std::exit(2);
    }
  }
  options.rigServerAddress = parser.value(rigServerAddress);
  if (parser.isSet(txTimeout)) {
    options.txTimeoutSeconds = zr::parseTxTimeout(parser.value(txTimeout).toStdString());
    if (options.txTimeoutSeconds < 0) {
      std::fprintf(stderr, "zr3817: --tx-timeout needs a whole number of seconds from 0 to %d, not \"%s\"\n",
                   zr::kTxTimeoutMax, qPrintable(parser.value(txTimeout)));
      std::exit(2);
    }
  }
  if (parser.isSet(dir) && parser.isSet(userDir)) {
    std::fprintf(stderr, "zr3817: give either --dir or --user-dir, not both\n");
    std::exit(2);
  }
  if (parser.isSet(dir)) {
    options.workDir = parser.value(dir);
    if (options.workDir.isEmpty()) {
      std::fprintf(stderr, "zr3817: --dir needs a directory\n");
      std::exit(2);
    }
  }
  if (parser.isSet(userDir)) {
    const auto path = userWorkDir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (path.empty()) {
      std::fprintf(stderr, "zr3817: --user-dir needs HOME or XDG_CONFIG_HOME set to an absolute path\n");
      std::exit(2);
    }
    options.workDir = QString::fromStdString(path.string());
  }
  if (parser.isSet(catDialect)) {
    const QString d = parser.value(catDialect);
    if (d == "kenwood") {
      options.catKenwoodDialect = 1;
    } else if (d == "basic") {
      options.catKenwoodDialect = 0;
    } else {
      std::fprintf(stderr, "zr3817: --cat-dialect needs kenwood or basic, not \"%s\"\n", qPrintable(d));
      std::exit(2);
    }
  }
  return options;
}

}  // namespace zr::app
