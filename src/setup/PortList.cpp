#include "setup/PortList.h"

#include <string>

#include "core/Panel.h"
#include "core/RadioLink.h"

namespace zr {

void findPorts(Panel& panel, Control& portList, Control& found) {
  portList.items.clear();
  portList.text.clear();
  found.text.clear();
  for (int n = kFirstListedPort; n <= kLastListedPort; ++n) {
    if (!panel.link().gGetCommPorts(n)) continue;
    portList.items.push_back(std::to_string(n));
    found.text += std::to_string(n) + ", ";
  }
  if (portList.items.empty()) found.text = "No Ports";
}

}  // namespace zr
