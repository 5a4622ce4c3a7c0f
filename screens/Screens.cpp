#include "screens/Screens.h"

namespace screens {
namespace {
MainScreenState g_state;
plat::Hwnd g_main = plat::kNoWindow;
}  // namespace

MainScreenState& UiState() { return g_state; }
void SetMainWindow(plat::Hwnd h) { g_main = h; }
plat::Hwnd MainWindow() { return g_main; }

}  // namespace screens
