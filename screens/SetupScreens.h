#pragma once
// SETUP_SELECTION_WINDOW and EXTENDED_SETUP_SELECTION_WINDOW_NEW: full-screen pages of picture
// buttons, each a door to a setup dialog (SetupDoors.h). MORE leads from the setup screen to
// the extended one; RETURN on either brings the main screen back.
#include "link/DryerStatus.h"
#include "platform/Window.h"
#include "screens/SetupDoors.h"

namespace screens {

inline constexpr int kSetupTitleId = 871;
inline constexpr int kExtendedSetupTitleId = 872;

plat::LResult SetupSelectionWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult ExtendedSetupWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);

// The option buttons that the controller's options decide: burner mode on the setup screen
// (not on a series dryer), and on the extended screen the cycled sampler and the metering roll
// reverse confirmation. Run by the one-second tick and when a setup screen is shown.
void ShowSetupOptionButtons(const lnk::DryerStatus& s);

}  // namespace screens
