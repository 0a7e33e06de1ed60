#pragma once
// The changes an operator must hear without looking: transmit and receive,
// the band and port state, errors in the information box, scanner steps
// and a channel run's progress. Read off two successive models of a window,
// so the view announces what it draws and the engine knows nothing of it.
#include <string>
#include <vector>

#include "ui/WindowModel.h"

namespace zr::accessible {

// What changed from `before` to `now` (both of one window) that is to be
// announced, in the order to say it. Nothing for a window first shown.
std::vector<std::string> announcements(const WindowModel* before, const WindowModel& now);

}  // namespace zr::accessible
