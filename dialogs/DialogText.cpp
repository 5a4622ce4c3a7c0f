#include "dialogs/DialogText.h"

#include "i18n/Language.h"
#include "platform/Dialog.h"

namespace dialogs {

void SetString(plat::Hwnd dialog, int id, int stringId) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(stringId, text);
  if (id == 0)
    plat::SetWindowText(dialog, text);
  else
    plat::SetDlgItemText(dialog, id, text);
}

void SetStringIfPresent(plat::Hwnd dialog, int id, int stringId) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(stringId, text);
  if (text[0] == 0) return;
  if (id == 0)
    plat::SetWindowText(dialog, text);
  else
    plat::SetDlgItemText(dialog, id, text);
}

}  // namespace dialogs
