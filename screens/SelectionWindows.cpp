#include "screens/SelectionWindows.h"

#include "platform/Controls.h"
#include "screens/Screens.h"

namespace screens {
namespace {

// Until each selection screen has its own buttons, EXIT brings the main screen back, so every
// path into a selection screen has a way out.
constexpr plat::Rect kExitPlace = plat::RectXywh(241, 395, 158, 41);

}  // namespace

// A full-screen selection screen without buttons of its own yet (the auto-start configuration).
plat::LResult SelectionWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::Create:
      plat::CreateControl(h, plat::ControlKind::PushButton, kSelectionExit, kExitPlace, "EXIT",
                          plat::ControlStyle::Center);
      return 0;
    case plat::Msg::Command:
      if (plat::CommandId(w) == kSelectionExit) {
        plat::ShowWindow(h, false);
        SendMainCommand(kCmdShowMainScreen);
        return 0;
      }
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
