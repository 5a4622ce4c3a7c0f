#pragma once
// Dialog 179: the reminder to turn the DEFAULTS dip switch off again, with a picture of the
// switch (program picture 254) drawn by code.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kDipSwitchDialogId = 179;
inline constexpr int kDipSwitchExit = 1101;
// The four lines of the reminder, top to bottom.
inline constexpr int kDipSwitchLines[4] = {1102, 1103, 1104, 1105};
inline constexpr int kDipSwitchPicture = 254;
inline constexpr int kDipSwitchPictureWidth = 240;
inline constexpr int kDipSwitchPictureHeight = 90;

// Registers picture 254 with the platform's pictures (idempotent).
void RegisterDipSwitchPicture();
// Runs the dialog centred on `parent`; returns kDipSwitchExit when left with EXIT, the
// platform's answer otherwise (-1 when it could not be shown).
int ShowDipSwitchDialog(plat::Hwnd parent);

}  // namespace dialogs
