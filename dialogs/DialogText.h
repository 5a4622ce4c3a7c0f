#pragma once
// Texts of the display language placed into a dialog.
#include "platform/Window.h"

namespace dialogs {

// Puts string `stringId` into control `id` of the dialog, or into its caption when `id` is 0.
void SetString(plat::Hwnd dialog, int id, int stringId);
// As SetString, but a text the language lacks leaves the control or caption as it is.
void SetStringIfPresent(plat::Hwnd dialog, int id, int stringId);
// One control's text in a dialog's table of texts: string `stringId` into control `id` (0: the
// caption).
struct ControlString {
  int id;
  int stringId;
};
// SetString for every row of such a table.
template <int N>
void SetStrings(plat::Hwnd dialog, const ControlString (&table)[N]) {
  for (const ControlString& t : table) SetString(dialog, t.id, t.stringId);
}

// Shows help file `fileName` of the display language in an OK box captioned by string
// `captionId`. Help texts are short; a longer file is cut, never overrun.
void ShowHelpFile(plat::Hwnd owner, const char* fileName, int captionId);

}  // namespace dialogs
