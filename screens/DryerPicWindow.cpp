#include "screens/Screens.h"

namespace screens {

// The dryer picture (to come).
plat::LResult DryerPicWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
