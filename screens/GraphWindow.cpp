#include "screens/Screens.h"

namespace screens {

// The graph screen (to come).
plat::LResult GraphWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens

namespace screens {
// The graph's drawing child (to come).
plat::LResult DrawGraphWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}
}  // namespace screens
