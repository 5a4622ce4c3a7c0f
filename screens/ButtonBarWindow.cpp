#include "screens/Screens.h"

namespace screens {

// Background of the main button row.
plat::LResult ButtonBarWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
