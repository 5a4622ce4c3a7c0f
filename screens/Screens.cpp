#include "screens/Screens.h"

namespace screens {
namespace {
struct ScreensState {
  MainScreenState ui;
  plat::Hwnd main = plat::kNoWindow;
};
ScreensState gScreens;
}  // namespace

MainScreenState& UiState() { return gScreens.ui; }
void SetMainWindow(plat::Hwnd h) { gScreens.main = h; }
plat::Hwnd MainWindow() { return gScreens.main; }

}  // namespace screens
