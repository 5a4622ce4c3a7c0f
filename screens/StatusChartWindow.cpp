#include "screens/Screens.h"

namespace screens {

// The status chart of recent samples (to come).
plat::LResult StatusChartWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  return plat::DefWindowProc(h, msg, w, l);
}

}  // namespace screens
