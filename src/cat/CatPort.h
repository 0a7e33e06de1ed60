#pragma once
// The CAT port for station software: opened from the CAT settings; a
// receive event stores the request text and raises gCATPending; the service
// loop then has CATCmd answer queries from the transceiver state and pass
// settings on to the transceiver.
#include <cstddef>
#include <string>
#include <vector>

namespace zr {

class Panel;
struct CatRequest;

class CatPort {
 public:
  explicit CatPort(Panel& panel);

  // (Re)opens the port. Failures are shown, never thrown; true when open.
  bool SetUpCATPort();
  void MSComm2_OnComm(int code);
  void CATCmd();

  // Receive event: how long to let the rest of a request arrive.
  static constexpr double kRestOfRequestWait = 0.015;
  static constexpr int kReceiveThreshold = 3;
  // Transceiver settings carried out per receive event (see worthCarryingOut).
  static constexpr std::size_t kMaxSettingsPerReceive = 4;

  std::string gCATInput;

 private:
  void handle(const CatRequest& request);
  void answer(const std::string& text);
  void showIgnored(const std::vector<std::string>& ignored);

  Panel& p_;
};

}  // namespace zr
