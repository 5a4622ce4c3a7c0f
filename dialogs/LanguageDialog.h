#pragma once
// Dialog 615 "Select Language to Use": thirteen push-like buttons, one per language, each
// captioned with the language's name in the display language over its English name. A press
// switches the language, asks the screen it was opened from to redraw, and closes.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kLanguageDialogId = 615;

// One button per language, in the order of the language table, whose entries name them.
enum LanguageButton : int {
  kLanguageButtonEnglish = 1492,
  kLanguageButtonBulgarian = 1493,
  kLanguageButtonCzech = 1494,
  kLanguageButtonDanish = 1495,
  kLanguageButtonFrench = 1496,
  kLanguageButtonGerman = 1497,
  kLanguageButtonHungarian = 1498,
  kLanguageButtonPolish = 1499,
  kLanguageButtonPortuguese = 1500,
  kLanguageButtonRomanian = 1501,
  kLanguageButtonRussian = 1502,
  kLanguageButtonSpanish = 1503,
  kLanguageButtonDutch = 1504,
};

// Runs the dialog modally over `parent` (the extended setup screen). Returns the id of the
// button pressed (a LanguageButton), or a cancel result when it was closed otherwise.
int OpenLanguageDialog(plat::Hwnd parent);

}  // namespace dialogs
