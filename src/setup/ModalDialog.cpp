#include "setup/ModalDialog.h"

#include "core/Errors.h"
#include "core/Panel.h"
#include "core/StatusDisplay.h"

namespace zr {

void showDialog(Panel& panel, WindowModel& dialog, const std::function<void()>& formLoad) {
  try {
    formLoad();
  } catch (const RuntimeError& e) {
    panel.display().gShowInfo(errMessage("Form_Load", e));
  }
  panel.engine.runModal(dialog, panel.frm);
}

}  // namespace zr
