#pragma once
// What the drying mode, moisture control and unload rate dialogs share: their place over the
// parent and their HELP message boxes.
#include "platform/Window.h"

namespace dialogs {

// Centres the dialog over its parent, 20 pixels above the centre (never off the top).
void PlaceAboveParentCentre(plat::Hwnd dialog);
// Shows the help file of the display language in an information box with string `captionId`.
void ShowHelpFile(plat::Hwnd owner, const char* fileName, int captionId);

}  // namespace dialogs
