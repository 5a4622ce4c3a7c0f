#include "screens/Screens.h"

namespace screens {

// The plenum temperatures view (to come).
plat::LResult PlenumViewWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
