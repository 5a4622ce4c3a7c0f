#include "screens/Screens.h"

namespace screens {

// Warnings and the connection-lost display (to come).
plat::LResult WarningWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
