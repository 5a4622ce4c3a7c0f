#include "screens/Screens.h"

namespace screens {

// The unload status panel (to come).
plat::LResult UnloadStatusWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
