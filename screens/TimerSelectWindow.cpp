#include "screens/Screens.h"

namespace screens {

// Until its panels exist the screen behaves as the other selection screens: a title and EXIT.
plat::LResult TimerSelectWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return SelectionWindowProc(h, msg, w, l);
}

}  // namespace screens
