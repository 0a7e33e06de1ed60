// Load of the 100 memory channels from the simulator over a pseudo-terminal,
// 4 channels filled as the simulator starts: the total time and the time per
// channel against the floor of 100 requests each followed by its 0.25 s wait,
// and the CPU the panel used meanwhile. Usage: bench_channel_load [runs]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "PanelOnPty.h"
#include "SimulatorProcess.h"
#include "core/MainMenus.h"
#include "lists/ChannelSetupDialog.h"

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  const auto dir = std::filesystem::temp_directory_path() / ("zr3817-chanbench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  auto sim = std::make_unique<SimulatorProcess>(dir);

  PanelOnPty run(dir);
  if (!run.openRadioPort()) {
    std::fprintf(stderr, "radio port did not open\n");
    return 1;
  }
  zr::ChannelSetupDialog& dialog = run.panel.menus().channelSetup();
  dialog.Form_Load();

  constexpr double kFloor = zr::ChannelTransfer::kChannels * zr::ChannelTransfer::kWait;
  std::printf("channel Load over a pseudo-terminal, 100 channels (4 filled), floor %.2f s\n", kFloor);
  int failures = 0;
  for (int i = 0; i < runs; ++i) {
    const double cpu0 = cpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    dialog.cmdLoad_Click();
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = cpuSeconds() - cpu0;
    const std::size_t read = dialog.model().lsbChList.items.size();
    if (read != 4) ++failures;
    std::printf("run %d: total %.3f s, %.2f ms per channel (floor 250.00), %+.2f %% over the floor, "
                "%zu channels read, CPU %.3f s\n",
                i + 1, total, total * 1000 / 100, (total / kFloor - 1) * 100, read, cpu);
  }
  run.radio.close();
  sim.reset();
  std::filesystem::remove_all(dir);
  return failures == 0 ? 0 : 1;
}
