#include "screens/Screens.h"

namespace screens {

// The full-screen selection screens (their dialogs are not built yet).
plat::LResult SelectionWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
