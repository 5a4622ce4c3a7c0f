#include "screens/Screens.h"

namespace screens {

// The view selection pop-up (its buttons come with the shell).
plat::LResult ViewSelectionWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
