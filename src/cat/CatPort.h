#pragma once
// The CAT port for station software: opened from the CAT settings; a
// receive event stores the request and raises gCATPending.
#include <string>

namespace zr {

class Panel;

class CatPort {
 public:
  explicit CatPort(Panel& panel);

  void SetUpCATPort();
  void MSComm2_OnComm(int code);
  void CATCmd();

  std::string gCATInput;

 private:
  Panel& p_;
};

}  // namespace zr
