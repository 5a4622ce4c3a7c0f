#pragma once
// Dialog 615 "Select Language to Use": thirteen push-like buttons, one per language, each
// captioned with the language's name in the display language over its English name. A press
// switches the language, asks the screen it was opened from to redraw, and closes.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kLanguageDialogId = 615;

// Runs the dialog modally over `parent` (the extended setup screen). Returns the id of the
// button pressed (1492..1504), or a cancel result when it was closed otherwise.
int OpenLanguageDialog(plat::Hwnd parent);

}  // namespace dialogs
