#include "setup/PortList.h"

#include <algorithm>
#include <string>

#include "core/Convert.h"
#include "core/Errors.h"
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

void addAndSelect(Control& list, const std::string& text) {
  if (std::find(list.items.begin(), list.items.end(), text) == list.items.end()) list.items.push_back(text);
  list.text = text;
}

std::string describePortText(const std::function<std::string(int)>& describe, const std::string& portText) {
  const std::string text = trim(portText);
  if (!describe || text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos)
    return {};
  try {
    return describe(std::stoi(text));
  } catch (const RuntimeError&) {
    return {};  // a number no device can have
  }
}

int handshakeOption(Handshaking handshaking) { return handshaking == Handshaking::RtsCts ? 2 : 0; }

}  // namespace zr
