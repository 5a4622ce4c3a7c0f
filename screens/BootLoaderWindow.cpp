#include "screens/Screens.h"

namespace screens {

// Controller programming: shown by nothing in this panel yet.
plat::LResult BootLoaderWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
