#pragma once
// What the drying mode, moisture control and unload rate dialogs share: their place over the
// parent and their HELP message boxes.
#include "dialogs/DialogText.h"
#include "platform/Window.h"

namespace dialogs {

// Centres the dialog over its parent, 20 pixels above the centre (never off the top).
void PlaceAboveParentCentre(plat::Hwnd dialog);

}  // namespace dialogs
