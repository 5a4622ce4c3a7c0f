#include "screens/Screens.h"

namespace screens {

// The right-hand status bar (to come).
plat::LResult RightStatusBarWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens

namespace screens {
// Never shown: kept because the controller's window table has it.
plat::LResult LeftStatusBarWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}
}  // namespace screens
