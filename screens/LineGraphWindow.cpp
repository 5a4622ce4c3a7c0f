#include "screens/Screens.h"

namespace screens {

// Never shown: the parent of the dip-switch reminder and of several setpoint dialogs.
plat::LResult LineGraphWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
