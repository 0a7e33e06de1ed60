#pragma once
// The panel's logic headless on the real clock and the termios backend,
// with its ports mapped in a folder where zr3817-sim links COM1; and the CPU
// time a run used. Shared by the benchmarks and the end-to-end tests.
#include <sys/resource.h>

#include <filesystem>

#include "core/NullHost.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/serial/PosixPortProbe.h"
#include "core/serial/PosixSerialPort.h"

struct PanelOnPty {
  // `host`: where the panel publishes its models; none shows nothing.
  explicit PanelOnPty(const std::filesystem::path& dir, zr::Host* host = nullptr)
      : radio(dir), cat(dir), probe(dir), panel{clock, host ? *host : nullHost, radio, cat, probe} {}
  PanelOnPty(const PanelOnPty&) = delete;
  PanelOnPty& operator=(const PanelOnPty&) = delete;

  // The radio port on COM1 at 9600,N,8,1 without handshaking, as startup
  // would open it; false when it did not open.
  bool openRadioPort() {
    panel.settings.gRadioPort = "1";
    panel.settings.gRadioSettings = "9600,N,8,1";
    panel.settings.gRadioHandshake = "comNone";
    return panel.link().SetUpRadioPort();
  }

  zr::SystemClock clock;
  // Snapshots made as for a desktop, so the figures include their cost.
  struct UnseenDesktop : zr::NullHost {
    bool showsWindows() const override { return true; }
  } nullHost;
  zr::PosixSerialPort radio, cat;
  zr::PosixPortProbe probe;
  zr::Panel panel;
};

// User and system CPU seconds of this process so far.
inline double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
