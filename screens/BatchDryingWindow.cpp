#include "screens/Screens.h"

namespace screens {

// The batch drying timers (to come).
plat::LResult BatchDryingWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
